// Removing an installation through Uninstal.exe: what goes, what stays, and what a damaged
// or hostile log can never make it delete.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/removal.h"
#include "tests/e2e/scenario.h"

namespace {
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
    EXPECT_EQ(RemoveInstallation(true), 0u);
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
    EXPECT_EQ(RemoveInstallation(false), 0u);
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

  EXPECT_EQ(RemoveInstallation(false, prog), 3u) << "what the log names and could not go makes status 3";
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
