// Names outside the system's code page: every run is user Łukasz (scripts/wine-env.sh), whose
// profile and downloads lie in C:\users\Łukasz; directories in Greek and Chinese letters; a
// distribution written in UTF-8. Nothing may be done under a best-fit name ("Lukasz").
#include <gtest/gtest.h>

#include <shlobj.h>

#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/removal_rules.h"
#include "env/system_names.h"
#include "env/ini_file.h"
#include "manifest.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

namespace {
const std::string Profile = "C:\\users\\Łukasz";

// Each shortcut the installation in dir logged lies in the user's profile or the shared one.
void ExpectShortcutsInTheProfile(const std::string& dir) {
  const std::vector<std::string> lines = IniFile(dir + "\\" + InstallLogName).ReadSection(LogShortcuts);
  EXPECT_FALSE(lines.empty()) << "no shortcut logged";
  for (const std::string& line : lines) {
    const std::string link = line.substr(line.find('=') + 1);
    EXPECT_TRUE(IsBelow(link, Profile) || IsBelow(link, "C:\\users\\Public") || IsBelow(link, "C:\\ProgramData")) << link;
    EXPECT_TRUE(FileExists(link)) << link;
  }
  EXPECT_FALSE(DirectoryExists("C:\\users\\Lukasz")) << "a best-fit profile";
}
}  // namespace

TEST(Names, TheUsersProfileLiesOutsideTheCodePage) {
  EXPECT_EQ(GetLogonUserName(), "Łukasz");
  EXPECT_TRUE(IsBelow(SpecialFolder(nullptr, CSIDL_DESKTOPDIRECTORY), Profile)) << SpecialFolder(nullptr, CSIDL_DESKTOPDIRECTORY);
  EXPECT_TRUE(IsBelow(TempDir(), Profile)) << TempDir();
}

// The folder and the one file, each started from the user's downloads: installed byte for byte,
// the shortcuts of /s in the user's profile, and the registered quiet removal leaves the drive
// and the registry as they were.
TEST(Names, TheFolderAndTheOneFileFromTheDownloadsOfLukasz) {
  const std::string downloads = Profile + "\\Downloads\\";
  Distribution folder("Adressen", downloads), oneFile("Einzeln", downloads);
  folder.CopyFrom(ExampleDistribution("names_folder"));
  Distribution made("names_download");
  CopyFileNamed(MakeBundle("names_bundle", made), oneFile.Dir() + "Adressen-1.0-Setup.exe", false);
  for (const char* mode : {"/q", "/s"}) {
    for (const std::string& exe : {folder.Dir() + "SETUP.EXE", oneFile.Dir() + "Adressen-1.0-Setup.exe"}) {
      SCOPED_TRACE(exe + " " + mode);
      PrepareMachine();
      const Snapshot before = TakeSnapshot();
      const std::string record = downloads + "Protokoll.log";
      ASSERT_EQ(mode[1] == 'q' ? RunQuietly(exe, std::string(mode) + " \"/LOG=" + record + "\"")
                               : Perform(StartProgram(exe, std::string(mode) + " \"/LOG=" + record + "\""), {}),
                0u)
          << FileText(record);
      for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.hdb"})
        EXPECT_EQ(FileText(InstallDir + "\\" + name), ExampleContent(name)) << name;
      EXPECT_NE(FileText(record).find(exe), std::string::npos) << "the record names the program whole";
      if (mode[1] == 's') ExpectShortcutsInTheProfile(InstallDir);
      DeleteFileNamed(record);
      EXPECT_EQ(RemoveQuietly(), 0u);
      ExpectUnchanged(before);
    }
  }
}

// Directories in Greek and Chinese letters: the files there, the registration naming the
// directory whole (read as UTF-16), and the removal by the registered command leaves nothing.
TEST(Names, DirectoriesInGreekAndChineseLetters) {
  const Distribution dist = ExampleDistribution("names_dirs");
  for (const std::string dir : {"C:\\Programme\\Adressen Ωmega", "C:\\Programme\\地址簿 王芳"}) {
    SCOPED_TRACE(dir);
    PrepareMachine();
    const Snapshot before = TakeSnapshot();
    ASSERT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q \"/D=" + dir + "\""), 0u);
    for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.hdb"})
      EXPECT_EQ(FileText(dir + "\\" + name), ExampleContent(name)) << name;
    EXPECT_EQ(RegistrationValue("InstallLocation").second, dir);
    EXPECT_EQ(RegistrationValue("UninstallString").second, "\"" + dir + "\\Uninstal.exe\"");
    EXPECT_EQ(RegistrationValue("DisplayIcon").second.find(dir), 0u) << RegistrationValue("DisplayIcon").second;
    EXPECT_NE(LogFileText(dir + "\\" + InstallLogName).find(LowerCase(dir + "\\ADRESSEN.EXE")), std::string::npos)
        << LogFileText(dir + "\\" + InstallLogName);
    EXPECT_EQ(RemoveQuietly(), 0u);
    ExpectUnchanged(before);
  }
}

namespace {
// A program "Kasse Łódź" with a file "Łódź.txt", its script in UTF-8 (a byte-order mark first).
const std::string KasseDir = "C:\\Programme\\Kasse Łódź", KasseKey = UninstallKeyOf("Kasse Łódź");
Distribution KasseDistribution(const std::string& name) {
  Distribution dist(name);
  dist.AddProgram("\xEF\xBB\xBF[General]\r\nName=Kasse Łódź\r\ndefaultPath=" + KasseDir +
                  "\r\nVersion=1.0\r\nPublisher=Kästner & Söhne\r\n[StartMenu]\r\nFolder=Kasse Łódź\r\n"
                  "[Group]\r\nName=Kasse Łódź\r\n[programfiles]\r\n1=Łódź.txt\r\n[Items]\r\nŁódź.txt=Kasse Łódź\r\n");
  dist.AddFile("Łódź.txt", "Kassenbuch");
  return dist;
}
}  // namespace

// Installed from UTF-8: the file, the registration and the shortcut named so; then removed.
TEST(Names, ADistributionInUtf8) {
  PrepareMachine();
  const Distribution dist = KasseDistribution("names_utf8");
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(Perform(dist.Start("SETUP.EXE", "/s"), {}), 0u);
  EXPECT_EQ(FileText(KasseDir + "\\Łódź.txt"), "Kassenbuch");
  EXPECT_EQ(RegistrationValue("Publisher", KasseKey).second, "Kästner & Söhne");
  EXPECT_EQ(RegistrationValue("DisplayName", KasseKey).second.find("Kasse Łódź"), 0u);
  ExpectLink(GroupFolderOf(KasseDir, "Kasse Łódź") + "\\Kasse Łódź.LNK", KasseDir + "\\Łódź.txt", KasseDir);
  // What distkit manifest tells a deployment tool to look for is what the installation wrote.
  Registration described;
  ASSERT_EQ(ReadRegistration(dist.Dir(), described), "");
  EXPECT_EQ(UninstallKeyOf(described.key), KasseKey);
  for (const auto& [name, value] :
       {std::pair{"DisplayName", described.displayName}, {"Publisher", described.publisher}, {"DisplayVersion", described.version}})
    EXPECT_EQ(RegistrationValue(name, KasseKey).second, value) << name;
  EXPECT_EQ(RemoveQuietly(KasseKey), 0u);
  ExpectUnchanged(before);
}

// Windows 98, whose names are its code page's, cannot hold "Łódź": the run fails, and nothing
// is made under a near name ("Lodz").
TEST(Names, TheWindows95FamilyRefusesANameItsCodePageCannotHold) {
  PrepareMachine();
  const Distribution dist = KasseDistribution("names_win98");
  const Snapshot before = TakeSnapshot();
  ReportWindowsVersion("win98");
  const DWORD status = RunQuietly(dist.Dir() + "SETUP.EXE", "/q /LOG=" + dist.Dir() + "run.log");
  ReportWindowsVersion(nullptr);
  EXPECT_NE(status, 0u) << FileText(dist.Dir() + "run.log");
  ExpectUnchanged(before);
}

// Attended, the directory typed into the field: the field, the copy page and the uninstaller's
// list show the name whole (pictures of each).
TEST(Names, TheWizardAndTheUninstallerShowTheNameWhole) {
  PrepareMachine();
  const std::string dir = "C:\\Programme\\Adressen Ωmega Łódź";
  const Distribution dist = ExampleDistribution("names_wizard");
  // The last file copied, which the copy page keeps showing, one of the directory.
  std::string script = FileText(dist.Dir() + "Setup.lst");
  dist.AddFile("Setup.lst", script.erase(script.find("[Windows]"), script.find("[Items]") - script.find("[Windows]")));
  Steps steps = WalkWizard(dir);
  steps.back().act = [&](HWND w) {
    SetText(FindControl(w, AktionForm::edPathName), dir);
    EXPECT_EQ(WindowText(FindControl(w, AktionForm::edPathName)), dir);
    Shoot(w, "names-directory");
  };
  steps.push_back({"Tf_Aktion", "", "CopyInfo", [&](HWND w) {
                     EXPECT_TRUE(WaitUntil([&] { return IsBelow(WindowText(FindControl(w, AktionForm::pnTo)), dir); }))
                         << WindowText(FindControl(w, AktionForm::pnTo));
                     Shoot(w, "names-copy");
                   }});
  ASSERT_EQ(Perform(dist.Start(), steps + FinishSteps()), 0u);
  Steps removal = RemovalSteps(true);
  removal[2].act = [&](HWND ask) {
    const std::vector<std::string> lines = ListBoxLines(FindControl(ask, AskForm::lbFiles));
    EXPECT_FALSE(lines.empty() || lines.front() != LowerCase(dir)) << (lines.empty() ? "" : lines.front());
    Shoot(ask, "names-uninstall-list");
  };
  EXPECT_EQ(Perform(StartProgram(dir + "\\Uninstal.exe", ""), removal), 0u);
  EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(dir); }, 20000)) << "the batch file takes the directory";
}

// Run by scripts/run-code-pages.sh as a Greek and a Polish Windows: the program's German texts
// and the CP1252 script's names mean what they mean on a German Windows.
TEST(CodePage, GermanTextsAndTheScriptsNamesOnAnotherCodePage) {
  if (GetACP() == 1252) GTEST_SKIP() << "runs under another code page only (scripts/run-code-pages.sh)";
  PrepareMachine();
  Distribution dist = ExampleDistribution("code_page");
  dist.AddFile("Übersicht.txt", "Übersicht");
  std::string script = FileText(dist.Dir() + "Setup.lst");
  script.insert(script.find("[Windows]"),
                "4=\xDC"
                "bersicht.txt\r\n");  // CP1252, as the script is
  dist.AddFile("Setup.lst", script);
  Program setup = dist.Start();
  HWND start = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (start = StartWindow(setup.pid)) != nullptr; }));
  std::vector<std::string> steps;
  WaitUntil([&] { return (steps = TreeNodes(FindControl(start, SetupForm::TreeView1), setup.pid)).size() > 1; });
  EXPECT_NE(std::find(steps.begin(), steps.end(), "1. Begrüßung"), steps.end()) << (steps.size() > 1 ? steps[1] : "");
  Kill(setup);
  ASSERT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q"), 0u);
  EXPECT_EQ(FileText(InstallDir + "\\Übersicht.txt"), "Übersicht");
  EXPECT_EQ(RemoveQuietly(), 0u);
}
