// Installing: what a run puts on the disk, in the log, the registry and the shell, and what
// it does when a file cannot be brought into place.
#include <gtest/gtest.h>

#include <algorithm>

#include "env/system_names.h"
#include "codec/sha256.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

using namespace AktionForm;

namespace {
std::vector<std::string> FolderFiles(const std::string& dir) {
  std::vector<std::string> names = Entries(dir + "\\*");
  std::sort(names.begin(), names.end());
  return names;
}

std::string LogText(const std::string& dir) { return LogFileText(dir + "\\" + InstallLogName); }
}  // namespace

TEST(Install, AttendedRunInstallsEveryFileLogsItAndRegistersTheUninstaller) {
  PrepareMachine();
  Distribution dist = ExampleDistribution("install_full");
  const std::string target = dist.Dir() + "Programm";
  Steps steps = WalkWizard(target);
  steps.push_back({"Tf_Aktion", "", "CopyInfo", [](HWND w) { Shoot(w, "wizard-5-copy"); }});
  EXPECT_EQ(Perform(dist.Start(), steps + FinishSteps()), 0u);
  for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.HDB"})
    EXPECT_EQ(FileText(target + "\\" + name), ExampleContent(name)) << name;
  const std::string windowsDll = GetWindowsDir() + "\\ADRHELP.DLL";
  EXPECT_EQ(FileText(windowsDll), ExampleContent("ADRHELP.DLL"));
  EXPECT_EQ(FileText(target + "\\Uninstal.exe"), FileText(dist.Dir() + "SETUP.EXE"));
  // The log is read by every uninstaller already out there: its text stays as it is, but for
  // the sections they pass over: each file's size and SHA-256 as installed, where each came
  // from (the library counted as a shared one), the shortcuts.
  const std::string dir = LowerCase(target) + "\\";
  std::string log = LogText(target);
  const size_t states = log.find("[FileStates]\r\n"), files = log.find("[InstalledFiles]");
  ASSERT_LT(states, files);
  const std::string state = log.substr(states, files - states);
  // The uninstaller first: whatever ends the run, what it copied can be removed.
  const std::string installed[] = {target + "\\Uninstal.exe", target + "\\ADRESSEN.EXE", target + "\\ADRESSEN.HLP",
                                   target + "\\beispiel.HDB", windowsDll};
  for (size_t k = 0; k < 5; ++k)
    EXPECT_NE(state.find("File" + std::to_string(k + 1) + "=" + std::to_string(FileText(installed[k]).size()) + "," +
                         Sha256Of(FileText(installed[k])) + "\r\n"),
              std::string::npos)
        << installed[k] << "\n"
        << state;
  log.erase(states, files - states);
  EXPECT_EQ(log.substr(0, std::min(log.find("[BenutzerKonto]"), log.find("[Shortcuts]"))),
            "[General]\r\nName=Adressen\r\n[InstalledFiles]\r\nFile1=" + dir + "uninstal.exe\r\nFile2=" + dir +
                "adressen.exe\r\nFile3=" + dir + "adressen.hlp\r\nFile4=" + dir + "beispiel.hdb\r\nFile5=" + LowerCase(windowsDll) +
                "\r\n[Group]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n"
                "[FileOrigins]\r\nFile5=shared\r\n");
  EXPECT_NE(log.find("Link1=" + GroupFolderOf(target) + "\\Adressen.LNK"), std::string::npos) << log;
  EXPECT_EQ(ReadRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false), "UninstallString"),
            "\"" + target + "\\Uninstal.exe\"")
      << "quoted against C:\\Program.exe";

  // A second run proposes the directory of the first.
  Program again = dist.Start();
  HWND wizard = WaitForWindow(again.pid, "Tf_Aktion");
  ASSERT_TRUE(wizard);
  EXPECT_EQ(WindowText(FindControl(wizard, edPathName)), target);
  EXPECT_EQ(Perform(again, {{"Tf_Aktion", bnEnd}}), 1u);
}

// Nothing made by hand but two profiles of the tests' own: Anna's of a German Windows of the XP
// era, Bert's without Start menu folders. On each Windows version the group, the Start-menu entry
// and the desktop shortcut go where the chosen user's Windows keeps them; the removal takes them.
TEST(Install, TheUserSelectionAndTheOptionsDecideWhereTheShortcutsGo) {
  PrepareMachine();
  const std::string profiles = GetProfilesDirectory(), anna = profiles + "\\Anna", bert = profiles + "\\Bert";
  ForceDirectories(anna + "\\Desktop");
  ForceDirectories(anna + "\\Startmenü\\Programme");
  ForceDirectories(bert + "\\Desktop");
  struct Row {
    const char* version;
    const char* user;                       // chosen in the user selection; nullptr: a quiet run
    bool desktop, startMenu, closeOptions;  // ticked; the options closed by the title bar
    DWORD status;
  };
  const std::string logon = GetLogonUserName();
  std::vector<Row> rows;
  for (const char* version : {"winxp", "win7", "win10"}) {
    rows.push_back({version, logon.c_str(), true, true, false, 0});
    rows.push_back({version, "Public", true, true, false, 0});
    rows.push_back({version, nullptr, false, false, false, 0});  // quiet: the options passed over
  }
  rows.push_back({"win7", "Public", true, true, true, 0});
  rows.push_back({"win10", "Anna", true, true, false, 0});
  rows.push_back({"win10", "Bert", true, false, false, 8});  // no group can be made: said, status 8
  for (const Row& row : rows) {
    const std::string user = row.user ? row.user : "(quiet)";
    SCOPED_TRACE(std::string(row.version) + " " + user + (row.closeOptions ? " closed" : ""));
    ReportWindowsVersion(row.version);
    const std::string profile = row.user ? profiles + "\\" + row.user : "";
    const ShortcutPlaces places = ShortcutPlacesOf(row.user && user != logon ? profile : "");
    Distribution dist = ExampleDistribution("choice");
    const std::string target = dist.Dir() + "Programm";
    auto chooseUser = [&](HWND group) {
      HWND list = FindControl(group, GroupForm::cbUsers);
      const std::wstring wide = Wide(user);
      SendMessageW(list, CB_SETCURSEL, SendMessageW(list, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(wide.c_str())), 0);
    };
    auto options = [&](HWND more) {
      // The group box on the dialog's own colour: beside the check boxes, between them and
      // the note, below the note.
      Sleep(300);
      RECT dialog, box;
      GetWindowRect(more, &dialog);
      GetWindowRect(FindControl(more, "GroupBox1"), &box);
      const Screenshot shot = CaptureWindow(more);
      const int h = box.bottom - box.top;
      for (const POINT p : {POINT{box.right - 6, box.top + h / 3}, POINT{box.right - 6, box.top + h * 3 / 5},
                            POINT{box.left + 6, box.bottom - 6}, POINT{(box.left + box.right) / 2, box.bottom - 6}})
        EXPECT_EQ(shot.At(p.x - dialog.left, p.y - dialog.top), GetSysColor(COLOR_BTNFACE)) << p.x - box.left << "," << p.y - box.top;
      Tick(FindControl(more, MoreForm::cbDesktop), row.desktop);
      Tick(FindControl(more, MoreForm::cbStartmenu), row.startMenu);
      if (row.closeOptions) PostMessageA(more, WM_SYSCOMMAND, SC_CLOSE, 0);
    };
    Steps finish = FinishSteps(false, chooseUser, options);
    if (row.closeOptions) finish[1].press = "";
    if (row.status == 8) finish.insert(finish.begin() + 2, {"TMessageForm", "OK", "Folgende Verknüpfungen"});
    if (row.user)
      EXPECT_EQ(Perform(dist.Start(), WalkWizard(target) + finish), row.status);
    else
      EXPECT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q /D=" + target), 0u);
    const bool optionsTaken = !row.closeOptions && row.user;
    const std::string exe = target + "\\ADRESSEN.EXE";
    const std::vector<std::pair<std::string, bool>> links = {{places.programs + "\\Adressen\\Adressen.LNK", row.status == 0},
                                                             {places.programs + "\\Adressen\\Hilfe.LNK", row.status == 0},
                                                             {places.desktop + "\\Adressen.LNK", optionsTaken && row.desktop},
                                                             {places.startMenu + "\\Adressen.LNK", optionsTaken && row.startMenu}};
    for (const auto& [link, made] : links) {
      if (made) {
        ExpectLink(link, link.find("Hilfe") != std::string::npos ? target + "\\ADRESSEN.HLP" : exe, target);
      } else {
        EXPECT_FALSE(FileExists(link)) << link;
      }
    }
    if (row.user) {
      EXPECT_NE(LogText(target).find("[BenutzerKonto]\r\nUserName=" + profile + "\r\n"), std::string::npos);
    }
    // The removal, attended after an attended installation, else quiet: every shortcut gone.
    EXPECT_EQ(row.user ? RemoveInstallation(true, target) : RemoveQuietly(), 0u);
    for (const auto& [link, made] : links) EXPECT_TRUE(WaitUntil([&] { return !FileExists(link); })) << link;
    EXPECT_FALSE(DirectoryExists(places.programs + "\\Adressen"));
  }
  ReportWindowsVersion(nullptr);
  DeleteTree(anna + "\\");
  DeleteTree(bert + "\\");
  PrepareMachine();
}

TEST(Install, JaStartsTheInstalledProgramAndNeinDoesNot) {
  ASSERT_FALSE(ExampleContent("ADRESSEN.EXE").empty()) << "the example program is built beside the tests";
  for (const bool start : {false, true}) {
    SCOPED_TRACE(start ? "Ja" : "Nein");
    Distribution dist = ExampleDistribution("install_start");
    const std::string target = dist.Dir() + "Programm";
    EXPECT_EQ(Perform(dist.Start(), WalkWizard(target) + FinishSteps(start)), 0u);
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowA("Adressen", "Adressen")) && IsWindowVisible(window); }, start ? 15000 : 2000);
    ASSERT_EQ(window != nullptr, start);
    if (!start) continue;
    const std::string shown = WindowText(FindWindowExA(window, nullptr, "Static", nullptr));
    EXPECT_EQ(LowerCase(shown.substr(0, shown.find('\r'))), LowerCase(target + "\\ADRESSEN.EXE"));
    EXPECT_NE(shown.find("Adressen-Hilfsbibliothek 1.0"), std::string::npos)
        << "the help library installed into the Windows directory: " << shown;
    Shoot(window, "program-started");
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));
  }
}

TEST(Install, ABusyTargetAReadOnlySourceADamagedFileAndTheUsersDatabase) {
  Distribution dist("install_busy");
  dist.AddProgram(
      "[General]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\n"
      "Name=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EXE\r\n2=ADRESSEN.HLP\r\n"
      "3=ADRHELP.DL_\r\n4=LIESMICH.TX_\r\n5=beispiel.hdb\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.hdb"}) dist.AddFile(name, ExampleContent(name));
  SetFileAttributesNamed((dist.Dir() + "ADRESSEN.EXE"), FILE_ATTRIBUTE_READONLY);
  dist.AddCompressed("ADRHELP.DL_", ExampleContent("ADRHELP.DLL"));
  const std::string whole = FileText(dist.Dir() + "ADRHELP.DL_");
  dist.AddFile("ADRHELP.DL_", whole.substr(0, whole.size() / 2));  // cut short
  dist.AddCompressed("LIESMICH.TX_", ExampleContent("LIESMICH.TXT"));

  // An earlier installation: two targets held open by another program without sharing, one
  // whose new version turns out damaged, and the user's own database.
  const std::string target = dist.Dir() + "Programm";
  ForceDirectories(target);
  dist.AddFile("Programm\\ADRHELP.DLL", "die alte Version");
  dist.AddFile("Programm\\Beispiel.hdb", "meine Adressen");
  auto holdOpen = [&](const std::string& name) {
    return FromCreateFile(CreateFileNamed(target + "\\" + name, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  };
  KernelHandle help = holdOpen("ADRESSEN.HLP"), readme = holdOpen("LIESMICH.TXT");
  ASSERT_TRUE(help && readme);
  EXPECT_EQ(Perform(dist.Start(),
                    WalkWizard(target) +
                        Steps{{"TMessageForm", "Yes", target + "\\ADRESSEN.HLP\rkonnnte nicht", [&](HWND) { help = KernelHandle(); }},
                              {"TMessageForm", "No", dist.Dir() + "ADRHELP.DL_"},
                              {"TMessageForm", "Yes", target + "\\LIESMICH.TXT kopiert werden!", [&](HWND) { readme = KernelHandle(); }}} +
                        FinishSteps()),
            3u)
      << "the library skipped with Nein is not installed";
  for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "LIESMICH.TXT"})
    EXPECT_EQ(FileText(target + "\\" + name), ExampleContent(name)) << name;
  EXPECT_FALSE(FileAttributes((target + "\\ADRESSEN.EXE")) & FILE_ATTRIBUTE_READONLY)
      << "an installed file must be writable, whatever the distribution's medium";
  EXPECT_EQ(FileText(target + "\\ADRHELP.DLL"), "die alte Version") << "a damaged file leaves the earlier version";
  EXPECT_EQ(FileText(target + "\\Beispiel.hdb"), "meine Adressen") << "the sample is not installed over it";
  EXPECT_EQ(FolderFiles(target), (std::vector<std::string>{"ADRESSEN.EXE", "ADRESSEN.HLP", "ADRHELP.DLL", "Beispiel.hdb", "INSTALL1.LOG",
                                                           "LIESMICH.TXT", "Uninstal.exe"}))
      << "no half-expanded file is left";
  const std::string log = LogText(target);
  EXPECT_NE(log.find("File4=" + LowerCase(target) + "\\adrhelp.dll"), std::string::npos) << "a skipped file is logged";
  EXPECT_EQ(log.find(LowerCase(target) + "\\beispiel.hdb"), std::string::npos) << "the user's own database is not ours";
  SetFileAttributesNamed((dist.Dir() + "ADRESSEN.EXE"), FILE_ATTRIBUTE_NORMAL);
}

// "Ja" tries once more, reports the second failure and goes on (status 3); "Abbrechen" ends at once
// (status 1), keeping what was installed with the uninstaller and its registration, which came first.
TEST(Install, AFileThatCannotBeExpandedIsAskedForAndReported) {
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel ? "Abbrechen" : "Ja");
    Distribution dist = ExampleDistribution("install_fail");
    DeleteFileNamed((dist.Dir() + "ADRESSEN.HL_"));
    const std::string target = dist.Dir() + "Programm";
    const Step question = {"TMessageForm", cancel ? "Cancel" : "Yes", dist.Dir() + "ADRESSEN.HL_",
                           [](HWND w) { Shoot(w, "dialog-expand-question"); }};
    const Steps after = {{"#32770", "OK", target + "\\ADRESSEN.HLP konnte nicht kopiert werden!"},
                         {"Tf_Group", GroupForm::BitBtn1},
                         {"Tf_more", MoreForm::BitBtn1},
                         {"TMessageForm", "OK", "sind Fehler aufgetreten!"}};
    EXPECT_EQ(Perform(dist.Start(), WalkWizard(target) + Steps{question} + (cancel ? Steps{} : after)), cancel ? 1u : 3u);
    EXPECT_TRUE(FileExists(target + "\\ADRESSEN.EXE"));
    EXPECT_NE(LogText(target).find("File3=" + LowerCase(target) + "\\adressen.hlp"), std::string::npos)
        << "a failed file is logged all the same, as is the next one that Abbrechen leaves out";
    EXPECT_EQ(RemoveQuietly(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(target); }, 20000));
  }
}
