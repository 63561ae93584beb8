// What the removal scenarios share: the state of the machine, and Uninstal.exe worked
// through its windows.
#include "tests/e2e/removal.h"

#include "env/file_system.h"
#include "env/folders.h"
#include "env/handles.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/scenario.h"

namespace {

// Every file and folder of the drive with its size, but the scenario's own folders.
void AddTree(const std::string& dir, Tree& tree) {
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((dir + "\\*").c_str(), &found));
  if (!find) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = LowerCase(dir + "\\" + name);
    if (path == "c:\\e2e" || path == "c:\\wintest" || path == "c:\\bench") continue;
    const bool folder = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    tree[path] = folder ? 0 : (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (folder && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) AddTree(dir + "\\" + name, tree);
  } while (FindNextFileA(find.Get(), &found));
}

// Every key and value below the registrations of installed programs.
void AddKeys(const std::string& path, std::set<std::string>& keys) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, path, false);
  if (!key) return;
  keys.insert(path);
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumValueA(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    keys.insert(path + " = " + name + ": " + ReadRegistryString(key, name));
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.push_back(name);
  }
  for (const std::string& sub : subkeys) AddKeys(path + "\\" + sub, keys);
}
}  // namespace

Snapshot TakeSnapshot() {
  Snapshot shot;
  AddTree("C:", shot.files);
  AddKeys("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", shot.keys);
  return shot;
}

// What differs, one line each; the empty temporary file the removal leaves is allowed.
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string tempDir = LowerCase(temp);
  std::vector<std::string> lines;
  for (const auto& [path, size] : after.files) {
    const auto old = before.files.find(path);
    const bool leftTemp = path.rfind(tempDir + "$", 0) == 0 && path.ends_with(".tmp") && size == 0;
    if (old == before.files.end() && !leftTemp) lines.push_back("new: " + path);
    if (old != before.files.end() && old->second != size) lines.push_back("changed: " + path);
  }
  for (const auto& [path, size] : before.files)
    if (!after.files.count(path)) lines.push_back("gone: " + path);
  for (const std::string& key : after.keys)
    if (!before.keys.count(key)) lines.push_back("new key: " + key);
  for (const std::string& key : before.keys)
    if (!after.keys.count(key)) lines.push_back("gone key: " + key);
  return lines;
}

void ReportWindowsVersion(const std::string& program, const char* version) {
  RegKey key = OpenRegistryKey(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\" + program, true);
  WriteRegistryString(key, "Version", version);
}

// SETUP.EXE /s on the example, to C:\Programme\Adressen.
void InstallUnattended(const std::string& name) {
  Example example = StartExample(name, "/s");
  DWORD code = 99;
  ASSERT_TRUE(WaitForExit(example.program, 30000, code));
  ASSERT_EQ(code, 0u);
  ASSERT_TRUE(FileExists(InstallDir + "\\Uninstal.exe"));
}

Removal StartUninstaller(const std::string& dir) {
  Removal removal;
  removal.program = StartProgram(dir + "\\Uninstal.exe", "");
  removal.window = WaitForWindow(removal.program.pid, "Tf_Uninstal");
  return removal;
}

// "&Weiter >>", "&Ja" to the first question; the directory question is returned.
HWND ConfirmRemoval(const Removal& removal) {
  Press(FindControl(removal.window, "Button1"));
  HWND question = WaitForDialog(removal.program.pid);
  if (!question) return nullptr;
  EXPECT_EQ(WindowText(question), "Bestätigen");
  EXPECT_EQ(DialogText(question), "Sind Sie sicher, daß Sie das Programm entfernen wollen?");
  Answer(question, "Yes");
  return WaitForWindow(removal.program.pid, "Tf_Ask", 30000);
}

// The closing message answered; the program's exit code.
DWORD FinishRemoval(const Removal& removal) {
  HWND done = WaitForDialog(removal.program.pid, 30000);
  EXPECT_TRUE(done);
  if (!done) return 99;
  EXPECT_EQ(DialogText(done), "Das Programm wurde deinstalliert!");
  Press(FindControl(done, "OK"));
  DWORD code = 99;
  EXPECT_TRUE(WaitForExit(removal.program, 10000, code));
  return code;
}

DWORD RemoveInstallation(bool deleteDirectory, const std::string& dir) {
  const Removal removal = StartUninstaller(dir);
  HWND ask = removal.window ? ConfirmRemoval(removal) : nullptr;
  if (!ask) {
    ADD_FAILURE() << "no uninstall window or no directory question";
    return 99;
  }
  EXPECT_EQ(WindowText(ask), "Sicherheitsabfrage!");
  Press(FindControl(ask, deleteDirectory ? "Button1" : "Button2"));
  return FinishRemoval(removal);
}

// The folders a German Windows has, which the installation goes into.
void PrepareSystemFolders() {
  CreateDirectoryA("C:\\Programme", nullptr);
  ForceDirectories(GetProfilesDirectory() + "\\" + GetLogonUserName() + "\\Startmenü\\Programme");
}

void ReportWindowsVersions(const char* version) {
  ReportWindowsVersion("SETUP.EXE", version);
  ReportWindowsVersion("Uninstal.exe", version);
}

void ForgetWindowsVersions() {
  for (const char* program : {"SETUP.EXE", "Uninstal.exe"})
    DeleteRegistryTree(HKEY_CURRENT_USER, std::string("Software\\Wine\\AppDefaults\\") + program);
}

// An uninstaller with a log of someone else's making, in dir.
void PlaceUninstaller(const std::string& dir, const std::string& log) {
  ForceDirectories(dir);
  CopyFileA((GetExeDirectory() + "SETUP.EXE").c_str(), (dir + "\\Uninstal.exe").c_str(), FALSE);
  KernelHandle file = FromCreateFile(CreateFileA((dir + "\\install1.log").c_str(), GENERIC_WRITE, 0,
                                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(file.Get(), log.data(), static_cast<DWORD>(log.size()), &written, nullptr);
}

void MakeFile(const std::string& path) {
  KernelHandle h = FromCreateFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  WriteFile(h.Get(), "x", 1, &written, nullptr);
}

