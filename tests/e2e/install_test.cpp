// Installing: what a run puts on the disk, in the log, the registry and the shell, and what
// it does when a file cannot be brought into place.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

#include "codec/name_mapping.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/scenario.h"

namespace {
std::string SpecialFolderPath(int folder) {
  char path[MAX_PATH] = {};
  return SHGetSpecialFolderPathA(nullptr, path, folder, FALSE) ? std::string(path) : "";
}

void ExpectLink(const std::string& linkFile, const std::string& target, const std::string& name,
                const std::string& workingDir) {
  SCOPED_TRACE(linkFile);
  ASSERT_TRUE(FileExists(linkFile));
  const ShellLinkFields fields = ReadShellLink(linkFile);
  EXPECT_EQ(LowerCase(fields.path), LowerCase(target));
  EXPECT_EQ(fields.description, name);
  EXPECT_EQ(fields.workingDir, workingDir);
  EXPECT_EQ(fields.showCmd, 5);
}

// SETUP.EXE reports this Windows version to itself (Wine's per-program setting).
void ReportWindowsVersion(const char* version) {
  RegKey key = OpenRegistryKey(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE", true);
  WriteRegistryString(key, "Version", version);
}

// The link files of a scenario's earlier run would pass for this one's.
void RemoveLinks(const std::vector<std::string>& files) {
  for (const std::string& file : files) DeleteFileA(file.c_str());
}

int ProfileIndex(const std::string& name) {
  std::vector<std::string> users;
  ListProfileUsers(users);
  for (size_t i = 0; i < users.size(); ++i)
    if (users[i] == name) return static_cast<int>(i);
  return -1;
}

// The files of the folder, without "." and "..".
std::vector<std::string> FolderFiles(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((IncludeBackslash(dir) + "*").c_str(), &found));
  if (!find) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find.Get(), &found));
  return names;
}

// The installed program's window once it is on show: a window is created before it is shown,
// and on a slow machine a look in between finds it still hidden. Null when none came.
HWND WaitForProgramWindow(DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] { return (window = FindWindowA("Adressen", "Adressen")) && IsWindowVisible(window); }, timeoutMs);
  return window;
}
}  // namespace

TEST(Install, AttendedRunInstallsEveryFileLogsItAndRegistersTheUninstaller) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  Example example = StartExample("install_full");
  const std::string target = InstallExample(example);
  Shoot(example.wizard, "wizard-5-copy");
  FinishAttendedInstall(example, 0);
  for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.HDB"})
    EXPECT_EQ(FileText(target + "\\" + name), ExampleContent(name)) << name;
  const std::string windowsDll = GetWindowsDir() + "\\ADRHELP.DLL";
  EXPECT_EQ(FileText(windowsDll), ExampleContent("ADRHELP.DLL"));
  EXPECT_EQ(FileText(target + "\\Uninstal.exe"), FileText(example.dist.Dir() + "SETUP.EXE"));
  const std::string dir = LowerCase(target) + "\\";
  const std::string log = FileText(target + "\\Install1.log");
  EXPECT_EQ(log.substr(0, log.find("[BenutzerKonto]")),
            "[General]\r\nName=Adressen\r\n[InstalledFiles]\r\n"
            "File1=" + dir + "adressen.exe\r\nFile2=" + dir + "adressen.hlp\r\n"
            "File3=" + dir + "beispiel.hdb\r\nFile4=" + LowerCase(windowsDll) + "\r\n"
            "File5=" + dir + "uninstal.exe\r\n"
            "[Group]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n");
  RegKey entry = OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false);
  EXPECT_EQ(ReadRegistryString(entry, "UninstallString"), "\"" + target + "\\Uninstal.exe\"");
  DeleteFileA(windowsDll.c_str());

  // A second run proposes the directory of the first.
  Launch(example);
  ASSERT_TRUE(example.wizard);
  EXPECT_EQ(WindowText(FindControl(example.wizard, "edPathName")), target);
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Install, TheUserSelectionAndTheOptionsDecideWhereTheShortcutsGo) {
  const std::string profiles = GetProfilesDirectory();
  const std::string own = profiles + "\\" + GetLogonUserName();
  const std::string common = profiles + "\\Public";
  const int ownIndex = ProfileIndex(GetLogonUserName()), commonIndex = ProfileIndex("Public");
  ASSERT_GE(ownIndex, 0);
  ASSERT_GE(commonIndex, 0) << "Wine's profiles folder has a Public profile with a desktop";
  ForceDirectories(common + "\\Startmenü\\Programme");
  const std::string commonGroup = common + "\\Startmenü\\Programme\\Adressen";
  const std::vector<std::string> commonLinks = {
      commonGroup + "\\Adressen.LNK", commonGroup + "\\Hilfe.LNK",
      common + "\\Desktop\\Adressen.LNK", common + "\\Startmenü\\Adressen.LNK"};
  {  // Both options with "&Ok", for the common profile: every link lands in that profile.
    RemoveLinks(commonLinks);
    Example example = StartExample("choice_common");
    const std::string target = InstallExample(example);
    FinishAttendedInstall(example, 0, {.user = commonIndex, .desktop = true, .startMenu = true});
    ExpectLink(commonLinks[0], target + "\\ADRESSEN.EXE", "Adressen", target);
    ExpectLink(commonLinks[1], target + "\\ADRESSEN.HLP", "Hilfe", target);
    ExpectLink(commonLinks[2], target + "\\ADRESSEN.EXE", "Adressen", target);
    ExpectLink(commonLinks[3], target + "\\ADRESSEN.EXE", "Adressen", target);
    EXPECT_NE(FileText(target + "\\Install1.log").find("[BenutzerKonto]\r\nUserName=" + common + "\r\n"),
              std::string::npos);
  }
  {  // Both ticked, but the dialog closed by its title bar: neither link, the group as before.
    RemoveLinks(commonLinks);
    Example example = StartExample("choice_closed");
    const std::string target = InstallExample(example);
    FinishAttendedInstall(example, 0,
                          {.user = commonIndex, .desktop = true, .startMenu = true, .closeOptions = true});
    EXPECT_TRUE(FileExists(commonLinks[0]));
    EXPECT_FALSE(FileExists(commonLinks[2]));
    EXPECT_FALSE(FileExists(commonLinks[3]));
  }
  {  // The own profile without its German Start menu folders: the group cannot be made and
     // nothing says so; the desktop link, the one ticked, still arrives; nothing is created.
    RemoveFolder(own + "\\Startmenü\\");
    RemoveLinks({own + "\\Desktop\\Adressen.LNK"});
    Example example = StartExample("choice_own");
    const std::string target = InstallExample(example);
    FinishAttendedInstall(example, 0, {.user = ownIndex, .desktop = true});
    ExpectLink(own + "\\Desktop\\Adressen.LNK", target + "\\ADRESSEN.EXE", "Adressen", target);
    EXPECT_FALSE(DirectoryExists(own + "\\Startmenü"));
    RemoveLinks({own + "\\Desktop\\Adressen.LNK"});
  }
  RemoveLinks(commonLinks);
  DeleteFileA((GetWindowsDir() + "\\ADRHELP.DLL").c_str());
}

TEST(Install, JaStartsTheInstalledProgramAndNeinDoesNot) {
  ASSERT_FALSE(ExampleContent("ADRESSEN.EXE").empty()) << "the example program is built beside the tests";
  for (const bool start : {false, true}) {
    SCOPED_TRACE(start ? "Ja" : "Nein");
    Example example = StartExample("install_start");
    const std::string target = InstallExample(example);
    FinishAttendedInstall(example, 0, {.start = start});
    HWND window = WaitForProgramWindow(start ? 15000 : 2000);
    if (!start) {
      EXPECT_FALSE(window) << "the program was started after Nein";
      continue;
    }
    ASSERT_TRUE(window) << "no window of the installed program";
    EXPECT_TRUE(IsWindowVisible(window));
    HWND pathText = FindWindowExA(window, nullptr, "Static", nullptr);
    const std::string shown = WindowText(pathText);
    EXPECT_EQ(LowerCase(shown.substr(0, shown.find('\r'))), LowerCase(target + "\\ADRESSEN.EXE"));
    EXPECT_NE(shown.find("Adressen-Hilfsbibliothek 1.0"), std::string::npos)
        << "the help library installed into the Windows directory: " << shown;
    Shoot(window, "program-started");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  }
  DeleteFileA((GetWindowsDir() + "\\ADRHELP.DLL").c_str());
}

TEST(Install, ABusyTargetAReadOnlySourceAndADamagedFile) {
  Example example("install_busy");
  example.dist.AddSetupExe();
  example.dist.AddExample("Liesmich.txt");
  example.dist.AddExample("Vertrag.Txt");
  example.dist.AddFile("Setup.lst",
                       "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n"
                       "[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n"
                       "[programfiles]\r\n1=ADRESSEN.EXE\r\n2=ADRESSEN.HLP\r\n3=ADRHELP.DL_\r\n"
                       "4=LIESMICH.TX_\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP"}) example.dist.AddFile(name, ExampleContent(name));
  const std::string readOnly = example.dist.Dir() + "ADRESSEN.EXE";
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  example.dist.AddCompressed("ADRHELP.DL_", ExampleContent("ADRHELP.DLL"));
  const std::string whole = FileText(example.dist.Dir() + "ADRHELP.DL_");
  example.dist.AddFile("ADRHELP.DL_", whole.substr(0, whole.size() / 2));  // cut short
  example.dist.AddCompressed("LIESMICH.TX_", ExampleContent("LIESMICH.TXT"));

  // Targets of an earlier installation: two held open by another program without sharing,
  // and one whose new version turns out damaged.
  const std::string target = example.dist.Dir() + "Programm";
  ForceDirectories(target);
  example.dist.AddFile("Programm\\ADRHELP.DLL", "die alte Version");
  auto holdOpen = [&](const std::string& name) {
    return KernelHandle(CreateFileA((target + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  KernelHandle help = holdOpen("ADRESSEN.HLP"), readme = holdOpen("LIESMICH.TXT");
  ASSERT_TRUE(help && readme);

  Launch(example);
  ASSERT_EQ(InstallExample(example), target);
  HWND question = WaitForDialog(example.program.pid);
  ASSERT_TRUE(question);
  EXPECT_TRUE(DialogText(question).starts_with("Die Datei " + target + "\\ADRESSEN.HLP\rkonnnte nicht"))
      << DialogText(question);
  help = KernelHandle();
  Answer(question, "Yes");
  question = WaitForDialog(example.program.pid);  // the damaged file: skipped
  ASSERT_TRUE(question);
  EXPECT_TRUE(DialogText(question).starts_with("Die Datei " + example.dist.Dir() + "ADRHELP.DL_"))
      << DialogText(question);
  Answer(question, "No");
  question = WaitForDialog(example.program.pid);  // the busy one of the compressed files
  ASSERT_TRUE(question);
  EXPECT_NE(DialogText(question).find(target + "\\LIESMICH.TXT kopiert werden!"), std::string::npos)
      << DialogText(question);
  readme = KernelHandle();
  Answer(question, "Yes");
  FinishAttendedInstall(example, 3);  // the library skipped with "Nein" is not installed

  const std::string installed = target + "\\ADRESSEN.EXE";
  EXPECT_EQ(FileText(installed), ExampleContent("ADRESSEN.EXE"));
  EXPECT_FALSE(GetFileAttributesA(installed.c_str()) & FILE_ATTRIBUTE_READONLY)
      << "an installed file must be writable, whatever the distribution's medium";
  EXPECT_EQ(FileText(target + "\\ADRESSEN.HLP"), ExampleContent("ADRESSEN.HLP"));
  EXPECT_EQ(FileText(target + "\\LIESMICH.TXT"), ExampleContent("LIESMICH.TXT"));
  EXPECT_EQ(FileText(target + "\\ADRHELP.DLL"), "die alte Version")
      << "a damaged file leaves the earlier version whole";
  std::vector<std::string> files = FolderFiles(target);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"ADRESSEN.EXE", "ADRESSEN.HLP", "ADRHELP.DLL",
                                             "INSTALL1.LOG", "LIESMICH.TXT", "Uninstal.exe"}))
      << "no half-expanded file is left";
  const std::string log = FileText(target + "\\Install1.log");
  EXPECT_NE(log.find("File3=" + LowerCase(target) + "\\adrhelp.dll"), std::string::npos)
      << "a skipped file is logged all the same";
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Install, AReinstallKeepsTheUsersDatabaseInPlaceOfTheSample) {
  Example example = StartExample("install_again");
  example.dist.Folder("Programm");
  example.dist.AddFile("Programm\\Beispiel.hdb", "meine Adressen");
  const std::string target = InstallExample(example);
  FinishAttendedInstall(example, 0);
  EXPECT_EQ(FileText(target + "\\Beispiel.hdb"), "meine Adressen");
  const std::string log = FileText(target + "\\Install1.log");
  EXPECT_NE(log.find("File2="), std::string::npos);
  EXPECT_EQ(log.find("File3="), std::string::npos) << "the skipped sample keeps its number free";
  EXPECT_NE(log.find("File4="), std::string::npos);
}

TEST(Install, AFileThatCannotBeExpandedIsAskedForAndReported) {
  {  // Ja tries once more; the second failure is reported, the run goes on, status 3.
    Example example = StartExample("install_fail");
    DeleteFileA((example.dist.Dir() + "ADRESSEN.HL_").c_str());
    const std::string target = InstallExample(example);
    HWND question = WaitForDialog(example.program.pid);
    ASSERT_TRUE(question);
    EXPECT_EQ(WindowText(question), "Warnung");
    EXPECT_TRUE(DialogText(question).starts_with("Die Datei " + example.dist.Dir() + "ADRESSEN.HL_"))
        << DialogText(question);
    EXPECT_EQ(WindowText(FindControl(question, "Cancel")), "Abbrechen");
    Shoot(question, "dialog-expand-question");
    Answer(question, "Yes");
    HWND box = WaitForWindow(example.program.pid, "#32770", 10000);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), "Datei " + target + "\\ADRESSEN.HLP konnte nicht kopiert werden!");
    PressDialogButton(box, "OK");
    // Then the rest as usual, ending with the failure message instead of the start offer.
    HWND final = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      for (HWND w : TopWindows(example.program.pid)) {
        const std::string name = ControlName(w);
        if (name == "Tf_Group" || name == "Tf_more") Press(FindControl(w, "BitBtn1"));
        if (name == "TMessageForm") final = w;
      }
      return final != nullptr;
    }, 20000));
    EXPECT_NE(DialogText(final).find("sind Fehler aufgetreten!"), std::string::npos);
    PressAndExpectExit(example.program, FindControl(final, "OK"), 3);
    EXPECT_NE(FileText(target + "\\Install1.log").find("File2=" + LowerCase(target) + "\\adressen.hlp"),
              std::string::npos) << "a failed file is logged all the same";
  }
  {  // Abbrechen ends at once: what was installed stays, nothing after it happens.
    Example example = StartExample("install_cancel");
    DeleteFileA((example.dist.Dir() + "ADRESSEN.HL_").c_str());
    const std::string target = InstallExample(example);
    HWND question = WaitForDialog(example.program.pid);
    ASSERT_TRUE(question);
    PressAndExpectExit(example.program, FindControl(question, "Cancel"), 1);
    EXPECT_TRUE(FileExists(target + "\\ADRESSEN.EXE"));
    EXPECT_FALSE(FileExists(target + "\\Uninstal.exe"));
  }
}

TEST(Install, UnattendedOnEveryWindowsVersion) {
  // The chosen user's German Start menu folders, where the group of an administrator goes.
  const std::string profile = GetProfilesDirectory() + "\\" + GetLogonUserName();
  ForceDirectories(profile + "\\Startmenü\\Programme");
  const std::string installDir = "C:\\Programme\\Adressen";
  for (const char* version : {"win95", "win98", "winme", "nt40", "win2k", "winxp", "win7", "win10"}) {
    SCOPED_TRACE(version);
    RemoveFolder(installDir + "\\");  // no log of an earlier run
    ReportWindowsVersion(version);
    Example example = StartExample(std::string("silent_") + version, "/s");
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(example.program, 30000, code));
    EXPECT_EQ(code, 0u);
    for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP"})
      EXPECT_EQ(FileText(installDir + "\\" + name), ExampleContent(name)) << name;
    EXPECT_EQ(FileText(installDir + "\\Uninstal.exe"), FileText(example.dist.Dir() + "SETUP.EXE"));
    RegKey entry = OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false);
    EXPECT_EQ(ReadRegistryString(entry, "UninstallString"), "\"" + installDir + "\\Uninstal.exe\"");
    EXPECT_EQ(ReadRegistryString(entry, "DisplayName"), "Adressen deinstalieren");

    // Where the shortcuts went: the chosen profile's folders, or the user's own.
    const std::string log = FileText(installDir + "\\Install1.log");
    const bool chosen = log.find("[BenutzerKonto]") != std::string::npos;
    const std::string group = chosen ? profile + "\\Startmenü\\Programme\\Adressen"
                                     : SpecialFolderPath(CSIDL_PROGRAMS) + "\\Adressen";
    const std::string exe = installDir + "\\ADRESSEN.EXE";
    ExpectLink(group + "\\Adressen.LNK", exe, "Adressen", installDir);
    ExpectLink(group + "\\Hilfe.LNK", installDir + "\\ADRESSEN.HLP", "Hilfe", installDir);
    ExpectLink((chosen ? profile + "\\Desktop" : SpecialFolderPath(CSIDL_DESKTOPDIRECTORY)) +
                   "\\Adressen.LNK", exe, "Adressen", installDir);
    ExpectLink((chosen ? profile + "\\Startmenü" : SpecialFolderPath(CSIDL_STARTMENU)) +
                   "\\Adressen.LNK", exe, "Adressen", installDir);
  }
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\SETUP.EXE");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
}
