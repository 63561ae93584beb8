// Removing an installation through Uninstal.exe: what goes, what stays, and what a damaged
// or hostile log can never make it delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "env/file_system.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/scenario.h"
#include "transfer/folders.h"

namespace {
const std::string InstallDir = "C:\\Programme\\Adressen";

// Every file and folder of the drive with its size, but the scenario's own folders.
using Tree = std::map<std::string, unsigned long long>;
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

struct Snapshot {
  Tree files;
  std::set<std::string> keys;
};
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

// Uninstal.exe started from the installation, its window found.
struct Removal {
  Program program;
  HWND window = nullptr;
};
Removal StartUninstaller(const std::string& dir = InstallDir) {
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

constexpr const char* Versions[] = {"win95", "win98", "winme", "nt40", "win2k", "winxp", "win7", "win10"};
}  // namespace

TEST(Uninstall, JaRemovesEverythingOnEveryWindowsVersion) {
  PrepareSystemFolders();
  for (const char* version : Versions) {
    SCOPED_TRACE(version);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
    const Snapshot before = TakeSnapshot();
    ReportWindowsVersions(version);
    InstallUnattended(std::string("remove_") + version);
    ASSERT_TRUE(FileExists(GetWindowsDir() + "\\ADRHELP.DLL"));
    Removal removal = StartUninstaller();
    ASSERT_TRUE(removal.window);
    HWND ask = ConfirmRemoval(removal);
    ASSERT_TRUE(ask);
    EXPECT_EQ(WindowText(ask), "Sicherheitsabfrage!");
    Press(FindControl(ask, "Button1"));
    EXPECT_EQ(FinishRemoval(removal), 0u);
    // The batch file removes the uninstaller and its folder once the program has ended.
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(InstallDir); }, 20000))
        << "the installation directory is still there";
    EXPECT_TRUE(WaitUntil([&] { return Differences(before, TakeSnapshot()).empty(); }, 10000));
    for (const std::string& line : Differences(before, TakeSnapshot())) ADD_FAILURE() << line;
  }
  ForgetWindowsVersions();
}

TEST(Uninstall, NeinKeepsTheDirectoryTheUninstallerAndTheLog) {
  PrepareSystemFolders();
  for (const char* version : Versions) {
    SCOPED_TRACE(version);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
    RemoveFolder(InstallDir + "\\");
    const Snapshot before = TakeSnapshot();
    ReportWindowsVersions(version);
    InstallUnattended(std::string("keep_") + version);
    Removal removal = StartUninstaller();
    ASSERT_TRUE(removal.window);
    HWND ask = ConfirmRemoval(removal);
    ASSERT_TRUE(ask);
    Press(FindControl(ask, "Button2"));
    EXPECT_EQ(FinishRemoval(removal), 0u);
    Sleep(1000);  // no batch file may come and take the uninstaller
    const std::string dir = LowerCase(InstallDir);
    EXPECT_EQ(Differences(before, TakeSnapshot()),
              (std::vector<std::string>{"new: " + dir, "new: " + dir + "\\install1.log",
                                        "new: " + dir + "\\uninstal.exe"}));
  }
  ForgetWindowsVersions();
  RemoveFolder(InstallDir + "\\");
}

TEST(Uninstall, NeinAtTheFirstQuestionAndBeendenRemoveNothing) {
  PrepareSystemFolders();
  RemoveFolder(InstallDir + "\\");
  InstallUnattended("untouched");
  const Snapshot installed = TakeSnapshot();
  Removal removal = StartUninstaller();
  ASSERT_TRUE(removal.window);
  for (int run = 0; run < 2; ++run) {  // a second "&Weiter >>" asks afresh
    Press(FindControl(removal.window, "Button1"));
    HWND question = WaitForDialog(removal.program.pid);
    ASSERT_TRUE(question) << run;
    Answer(question, "No");
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(removal.window) != FALSE; }));
    EXPECT_TRUE(IsWindowEnabled(FindControl(removal.window, "Button1")));
  }
  EndWith(removal.program, removal.window, "Button2", 1);
  EXPECT_TRUE(Differences(installed, TakeSnapshot()).empty());
  for (const std::string& line : Differences(installed, TakeSnapshot())) ADD_FAILURE() << line;
}

namespace {
std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Across processes the system hands the text over in UTF-16.
    std::wstring wide(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
    lines.push_back(text);
  }
  return lines;
}
}  // namespace

TEST(Uninstall, TheDirectoryQuestionListsWhatTheDirectoryHolds) {
  PrepareSystemFolders();
  RemoveFolder(InstallDir + "\\");
  InstallUnattended("listing");
  const std::string d = InstallDir + "\\";
  // A read-only installed file, the user's own files, a dot name and a hidden folder.
  SetFileAttributesA((d + "ADRESSEN.HLP").c_str(), FILE_ATTRIBUTE_READONLY);
  for (const char* folder : {"Eigene", "Versteckt"}) CreateDirectoryA((d + folder).c_str(), nullptr);
  for (const char* file : {"Eigene\\brief.txt", ".einstellungen", "Versteckt\\innen.txt"}) {
    KernelHandle h = FromCreateFile(CreateFileA((d + file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  SetFileAttributesA((d + "Versteckt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  // (Where the file system keeps no such attribute, Wine cannot hide the folder.)
  const bool hidden = GetFileAttributesA((d + "Versteckt").c_str()) & FILE_ATTRIBUTE_HIDDEN;

  Removal removal = StartUninstaller();
  ASSERT_TRUE(removal.window);
  HWND ask = ConfirmRemoval(removal);
  ASSERT_TRUE(ask);
  EXPECT_EQ(WindowText(FindControl(ask, "lbInfo")),
            "Soll das Programmverzeichnis " + LowerCase(InstallDir) +
                " vollständig, d.h. mit evtl. von Ihnen angelegten Unterverzeichnissen und Dateien, "
                "gelöscht werden?");
  const std::vector<std::string> lines = ListBoxLines(FindControl(ask, "lbFiles"));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), LowerCase(InstallDir)) << "the first logged file's directory";
  std::vector<std::string> rest(lines.begin() + 1, lines.end());
  for (std::string& line : rest) line = LowerCase(line);
  std::sort(rest.begin(), rest.end());
  const std::string l = LowerCase(d);
  EXPECT_EQ(rest, (std::vector<std::string>{l + "adressen.hlp", l + "eigene", l + "eigene\\brief.txt",
                                            l + "install1.log", l + "uninstal.exe", l + "versteckt"}))
      << "the file loop took the other files; the read-only one survived it";
  Shoot(ask, "uninstall-ask");
  Press(FindControl(ask, "Button1"));
  EXPECT_EQ(FinishRemoval(removal), 0u);
  // The hidden folder is not entered, so it and the directory stay; all else is gone.
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(d + "Uninstal.exe"); }, 20000));
  EXPECT_FALSE(FileExists(d + "ADRESSEN.HLP"));
  EXPECT_FALSE(DirectoryExists(d + "Eigene"));
  EXPECT_EQ(FileExists(d + "Versteckt\\innen.txt"), hidden);
  SetFileAttributesA((d + "Versteckt").c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveFolder(d);
}

namespace {
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

const std::string Uninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
}  // namespace

TEST(Uninstall, AHostileLogDeletesNothingOutsideTheInstallation) {
  const std::string root = "C:\\e2e\\hostile", prog = root + "\\Prog", victim = root + "\\Opfer";
  RemoveFolder(root + "\\");
  ForceDirectories(prog + "\\viele");
  ForceDirectories(victim);
  for (const char* name : {"b.txt", "c.txt", "d.txt"}) MakeFile(victim + "\\" + name);
  // A link to the victim's folder inside the program directory, where the system makes one.
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  auto create = reinterpret_cast<CreateLink>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  if (create) create((prog + "\\Verweis").c_str(), victim.c_str(), 1);
  const bool linked = GetFileAttributesA((prog + "\\Verweis\\d.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
  MakeFile(prog + "\\a.exe");
  std::string log = "[General]\r\nName=Feind\r\n[InstalledFiles]\r\nFile1=" + prog + "\\a.exe\r\n" +
                    "File2=" + prog + "\\..\\Opfer\\b.txt\r\nFile3=" + victim + "\\c.txt\r\n" +
                    "File5=" + prog + "\\Verweis\\d.txt\r\nFile6=" + prog + "\\*.*\r\n";
  // Gaps, and far more entries than one fetch of key names holds: every one is read.
  for (int i = 8; i < 2108; ++i) {
    const std::string file = prog + "\\viele\\f" + std::to_string(i) + ".txt";
    MakeFile(file);
    log += "File" + std::to_string(i) + "=" + file + "\r\n";
  }
  log += "[Group]\r\nName=..\\..\\..\\e2e\\hostile\\Opfer\r\n[StartMenu]\r\nFolder=\r\n";
  PlaceUninstaller(prog, log);
  { RegKey canary = OpenRegistryKey(HKEY_LOCAL_MACHINE, Uninstall + "\\E2eCanary", true); }

  Removal removal = StartUninstaller(prog);
  ASSERT_TRUE(removal.window);
  HWND ask = ConfirmRemoval(removal);
  ASSERT_TRUE(ask);
  Press(FindControl(ask, "Button2"));
  EXPECT_EQ(FinishRemoval(removal), 3u) << "what the log names and could not go makes status 3";
  for (const char* name : {"b.txt", "c.txt", "d.txt"}) EXPECT_TRUE(FileExists(victim + "\\" + name)) << name;
  if (linked) {
    EXPECT_NE(GetFileAttributesA((prog + "\\Verweis").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_FALSE(FileExists(prog + "\\a.exe"));
  EXPECT_FALSE(FileExists(prog + "\\viele\\f8.txt"));
  EXPECT_FALSE(FileExists(prog + "\\viele\\f2107.txt"));
  EXPECT_TRUE(OpenRegistryKey(HKEY_LOCAL_MACHINE, Uninstall + "\\E2eCanary", false))
      << "an empty registration name must not take the Uninstall key";
  RemoveFolder(root + "\\");
}

TEST(Uninstall, ALogWhoseFirstFileLiesInTheDriveRoot) {
  const std::string prog = "C:\\e2e\\rootlog\\Prog";
  RemoveFolder("C:\\e2e\\rootlog\\");
  ForceDirectories(prog);
  MakeFile("C:\\x.exe");
  MakeFile(prog + "\\a.exe");
  PlaceUninstaller(prog, "[General]\r\nName=Feind\r\n[InstalledFiles]\r\nFile1=c:\\x.exe\r\nFile2=" +
                             prog + "\\a.exe\r\n[Group]\r\nName=\r\n[StartMenu]\r\nFolder=Adressen\\Sub\r\n");
  { RegKey sub = OpenRegistryKey(HKEY_LOCAL_MACHINE, std::string(AdressenKey) + "\\Sub", true); }
  Removal removal = StartUninstaller(prog);
  ASSERT_TRUE(removal.window);
  Press(FindControl(removal.window, "Button1"));
  HWND question = WaitForDialog(removal.program.pid);
  ASSERT_TRUE(question);
  Answer(question, "Yes");
  // No directory question: the drive root is no program directory.
  EXPECT_EQ(FinishRemoval(removal), 3u);
  EXPECT_TRUE(FileExists("C:\\x.exe"));
  EXPECT_TRUE(DirectoryExists(prog));
  EXPECT_TRUE(OpenRegistryKey(HKEY_LOCAL_MACHINE, std::string(AdressenKey) + "\\Sub", false))
      << "a registration name with a backslash is not one of ours";
  DeleteFileA("C:\\x.exe");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  RemoveFolder("C:\\e2e\\rootlog\\");
}
