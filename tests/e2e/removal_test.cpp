// Removing an installation, and the product under faults: what goes, what stays, what a
// hostile log or script can never touch, an installation killed at any moment, a full disk.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "env/system_names.h"
#include "codec/name_mapping.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "uninstall/uninstall_files.h"
#include "tests/win/win_test_util.h"

namespace {
const std::string Dir = LowerCase(InstallDir);

// Answers whatever the program asks until it ends: the retry questions with answer, every
// other box and form with its OK. The exit code; the texts shown, one line each.
DWORD AnswerUntilExit(const Program& program, const std::string& answer, std::string& shown) {
  DWORD code = 99;
  const DWORD start = GetTickCount();
  while (!WaitForExit(program, 50, code) && GetTickCount() - start < Patience(120000)) {
    for (HWND w : TopWindows(program.pid)) {
      const std::string name = ControlName(w);
      const bool question = WindowText(w) == "Warnung" && FindControl(w, "Cancel");
      if (question || name == "TMessageForm" || WindowClass(w) == "#32770" || name == "Tf_Group" || name == "Tf_more") {
        shown += Shown(w) + "\n";
        Perform(program,
                {{name.empty() ? "#32770" : name, question                                  ? answer
                                                  : name == "Tf_Group" || name == "Tf_more" ? "BitBtn1"
                                                                                            : "OK"}},
                false);
      }
    }
  }
  EXPECT_NE(code, 99u) << "the program did not end";
  return code;
}

}  // namespace

// A user of the 95 family has a name of its code page; run as user Łukasz, those versions are
// left to scripts/run-ansi-user.sh, which runs this test once more as a user of such a name.
TEST(Uninstall, JaRemovesEverythingNeinKeepsTheDirectoryOnEveryWindowsVersion) {
  std::string ansi;
  const bool ansiUser = ToSystemCodePage(GetLogonUserName(), ansi);
  const std::pair<const char*, bool> versions[] = {{"win95", true},  {"win98", true},  {"winme", true}, {"nt40", false},
                                                   {"win2k", false}, {"winxp", false}, {"win7", false}, {"win10", false}};
  for (const auto& [version, family95] : versions) {
    SCOPED_TRACE(version);
    if (family95 && !ansiUser) continue;
    PrepareMachine();
    const Snapshot before = TakeSnapshot();
    ReportWindowsVersion(version);
    InstallUnattended(std::string("remove_") + version);
    for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.HDB"})
      EXPECT_EQ(FileText(InstallDir + "\\" + name), ExampleContent(name)) << name;
    EXPECT_EQ(FileText(GetWindowsDir() + "\\ADRHELP.DLL"), ExampleContent("ADRHELP.DLL"));
    RegKey entry = OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false);
    EXPECT_EQ(ReadRegistryString(entry, "UninstallString"), "\"" + InstallDir + "\\Uninstal.exe\"");
    EXPECT_EQ(ReadRegistryString(entry, "DisplayName"), "Adressen deinstalieren");
    // The shortcuts where this Windows keeps them (the user selection preselects the running user).
    const std::string exe = InstallDir + "\\ADRESSEN.EXE";
    const ShortcutPlaces places = ShortcutPlacesOf("");
    ExpectLink(places.programs + "\\Adressen\\Adressen.LNK", exe, InstallDir);
    ExpectLink(places.programs + "\\Adressen\\Hilfe.LNK", InstallDir + "\\ADRESSEN.HLP", InstallDir);
    ExpectLink(places.desktop + "\\Adressen.LNK", exe, InstallDir);
    ExpectLink(places.startMenu + "\\Adressen.LNK", exe, InstallDir);
    EXPECT_EQ(RemoveInstallation(true), 0u);
    // The batch file removes the uninstaller and its folder once the program has ended.
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(InstallDir); }, 20000)) << "the directory is still there";
    ExpectUnchanged(before);

    // "Nein" keeps the user's file and its directory; the uninstaller and its log go all the same.
    InstallUnattended(std::string("keep_") + version);
    MakeFile(InstallDir + "\\Notizen.txt", "meine Notizen");
    EXPECT_EQ(RemoveInstallation(false), 0u);
    const std::vector<std::string> kept = {"new: " + Dir, "new: " + Dir + "\\notizen.txt"};
    WaitUntil([&] { return Differences(before, TakeSnapshot()) == kept; }, 20000);
    EXPECT_EQ(Differences(before, TakeSnapshot()), kept);
  }
  ReportWindowsVersion(nullptr);
}

TEST(Uninstall, NeinAtTheFirstQuestionAndBeendenRemoveNothing) {
  PrepareMachine();
  InstallUnattended("untouched");
  const Snapshot installed = TakeSnapshot();
  // A second "&Weiter >>" asks afresh.
  const Steps no = {{"Tf_Uninstal", UninstalForm::Button1}, {"TMessageForm", "No", "Sind Sie sicher"}};
  EXPECT_EQ(Perform(StartProgram(InstallDir + "\\Uninstal.exe", ""), no + no + Steps{{"Tf_Uninstal", UninstalForm::Button2}}), 1u);
  ExpectUnchanged(installed, 0);
}

TEST(Uninstall, TheDirectoryQuestionListsWhatTheDirectoryHolds) {
  PrepareMachine();
  InstallUnattended("listing");
  const std::string d = InstallDir + "\\";
  // A read-only installed file, the user's own files, a dot name and a hidden folder.
  SetFileAttributesNamed((d + "ADRESSEN.HLP"), FILE_ATTRIBUTE_READONLY);
  for (const char* folder : {"Eigene", "Versteckt"}) CreateDirectoryNamed((d + folder));
  for (const char* file : {"Eigene\\brief.txt", ".einstellungen", "Versteckt\\innen.txt"}) MakeFile(d + file);
  SetFileAttributesNamed((d + "Versteckt"), FILE_ATTRIBUTE_HIDDEN);
  // (Where the file system keeps no such attribute, Wine cannot hide the folder.)
  const bool hidden = FileAttributes((d + "Versteckt")) & FILE_ATTRIBUTE_HIDDEN;
  Steps steps = RemovalSteps(true);
  steps[2].act = [&](HWND ask) {
    EXPECT_NE(WindowText(FindControl(ask, AskForm::lbInfo)).find(" " + Dir + " "), std::string::npos);
    std::vector<std::string> lines = ListBoxLines(FindControl(ask, AskForm::lbFiles));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), Dir) << "the first logged file's directory";
    std::sort(lines.begin() + 1, lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{Dir, Dir + "\\adressen.hlp", Dir + "\\eigene", Dir + "\\eigene\\brief.txt",
                                               Dir + "\\install1.log", Dir + "\\uninstal.exe", Dir + "\\versteckt"}))
        << "the file loop took the other files; the read-only one survived it";
    Shoot(ask, "uninstall-ask");
  };
  steps.insert(steps.begin() + 2, Step{"Tf_Progress", "", "", [](HWND progress) {
                                         EXPECT_FALSE(IsWindowVisible(FindControl(progress, ProgressForm::bnEsc)))
                                             << "an Abbrechen that stops nothing";
                                       }});
  EXPECT_EQ(Perform(StartProgram(d + "Uninstal.exe", ""), steps), 0u);
  // The hidden folder is not entered, so it and the directory stay; all else is gone.
  EXPECT_TRUE(WaitUntil([&] { return !FileExists(d + "Uninstal.exe"); }, 20000));
  EXPECT_FALSE(FileExists(d + "ADRESSEN.HLP"));
  EXPECT_FALSE(DirectoryExists(d + "Eigene"));
  EXPECT_EQ(FileExists(d + "Versteckt\\innen.txt"), hidden);
  SetFileAttributesNamed((d + "Versteckt"), FILE_ATTRIBUTE_NORMAL);
  DeleteTree(d);
}

namespace {
// 20 program files and 3 for the Windows directory, half of them compressed; 24 log entries
// with the uninstaller's.
constexpr int ProgramFiles = 20, WindowsFiles = 3, LogEntries = ProgramFiles + WindowsFiles + 1;

// The killed runs' distribution; a second version changes every file's content and drops
// DATEI2.TXT.
void FillKillDistribution(const Distribution& dist, bool second = false) {
  std::string script = "[General]\r\nName=Adressen\r\ndefaultPath=" + InstallDir +
                       "\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n";
  for (int k = 1, number = 0; k <= ProgramFiles + WindowsFiles; ++k) {
    if (k == ProgramFiles + 1) {
      script += "[Windows]\r\n";
      number = 0;
    }
    if (second && k == 2) continue;
    const std::string name = (k > ProgramFiles ? "KILLT" : "DATEI") + std::to_string(k) + (k % 2 ? ".EX_" : ".TXT");
    script += std::to_string(++number) + "=" + name + "\r\n";
    const int lines = second ? 20001 : 20000;
    if (k % 2)
      dist.AddCompressed(name, ExampleContent(MapCompressedName(name), lines));
    else
      dist.AddFile(name, ExampleContent(name, lines));
  }
  dist.AddProgram(script + "[Items]\r\nDATEI1.EXE=Adressen\r\n");
}

struct KillTest : ::testing::Test {
  void SetUp() override {
    PrepareMachine();
    // A run killed between counting a Windows file's users and logging it leaves that count
    // behind (one too many, never one too few): the file then stays at a later removal.
    for (int k = ProgramFiles + 1; k <= ProgramFiles + WindowsFiles; ++k) {
      const std::string file = GetWindowsDir() + "\\KILLT" + std::to_string(k) + (k % 2 ? ".EXE" : ".TXT");
      DeleteFileNamed(file);
      DeleteRegistryValue(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedLibrariesKey, false), LowerCase(file));
    }
    FillKillDistribution(dist);
    before = TakeSnapshot();
  }

  // After the kill, what a person does: with a log, the uninstaller (SETUP.EXE copied in as
  // Uninstal.exe when the run did not get so far) with "Ja" throughout; without one nothing
  // was installed yet, and the directory holds at most unfinished temporary files (in the
  // run's work folder, "~wk*.tmp", when the kill came during the first file).
  void RemoveWhatIsThere() {
    if (!FileExists(InstallDir + "\\" + InstallLogName)) {
      for (const std::string& name : Entries(InstallDir + "\\*")) {
        const bool work = LowerCase(name).starts_with("~wk");
        for (std::string file : work ? Entries(InstallDir + "\\" + name + "\\*") : std::vector<std::string>{name}) {
          file = LowerCase(file);
          EXPECT_TRUE((file.starts_with("cpy") || file.starts_with("exp")) && file.ends_with(".tmp"))
              << "an installed file without a log: " << file;
        }
      }
      DeleteTree(InstallDir + "\\");
      return;
    }
    CopyFileNamed((dist.Dir() + "SETUP.EXE"), (InstallDir + "\\Uninstal.exe"), TRUE);
    EXPECT_EQ(RemoveInstallation(true), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(InstallDir); }, 20000));
  }

  // Installs unattended, kills the run when the moment has come, removes what is there and
  // compares the machine with its state before.
  void KillAndRemove(const std::function<bool(DWORD)>& moment, const std::string& what) {
    SCOPED_TRACE(what);
    Kill(dist, "/s", moment);
    std::printf("%s: %zu bytes of log, registration %s\n", what.c_str(), FileText(InstallDir + "\\" + InstallLogName).size(),
                OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false) ? "made" : "not made");
    RemoveWhatIsThere();
    ExpectUnchanged(before);
  }

  // Runs SETUP.EXE of from with the arguments and kills it when the moment has come.
  static void Kill(const Distribution& from, const std::string& arguments, const std::function<bool(DWORD)>& moment) {
    Program setup = from.Start("SETUP.EXE", arguments);
    const DWORD start = GetTickCount();
    while (!moment(GetTickCount() - start) && WaitForSingleObject(setup.process.Get(), 1) == WAIT_TIMEOUT)
      if (GetTickCount() - start > Patience(60000)) {
        ADD_FAILURE() << "the moment never came";
        break;
      }
    ::Kill(setup);
  }

  Distribution dist{"killed"};
  Snapshot before;
};
}  // namespace

TEST_F(KillTest, AtEveryFewFilesTheLogNamesWhatTheUninstallerThenRemoves) {
  for (int k = 1; k <= LogEntries; k += 2) {
    const std::string key = "File" + std::to_string(k) + "=";
    KillAndRemove([&](DWORD) { return LogFileText(InstallDir + "\\" + InstallLogName).find(key) != std::string::npos; },
                  "killed at log entry " + std::to_string(k));
  }
}

TEST_F(KillTest, AtMomentsSpreadOverTheRunAndAfterTheRegistration) {
  const DWORD start = GetTickCount();
  ASSERT_EQ(Perform(dist.Start("SETUP.EXE", "/s"), {}), 0u) << "one whole run first, for its length";
  const DWORD length = GetTickCount() - start;
  RemoveWhatIsThere();
  for (DWORD part = 0; part < 12; ++part)
    KillAndRemove([&](DWORD elapsed) { return elapsed >= length * part / 12; },
                  "killed after " + std::to_string(length * part / 12) + " of " + std::to_string(length) + " ms");
  KillAndRemove([](DWORD) { return static_cast<bool>(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false)); },
                "killed once the registration is there");
}

// A quiet upgrade killed at every few log entries: the next run of the new version leaves it
// whole, nothing of the earlier version's that it dropped or kept aside; then the removal
// leaves the machine as before.
TEST_F(KillTest, DuringAQuietUpgradeTheNextRunCompletesIt) {
  const Distribution second("killed_v2");
  FillKillDistribution(second, true);
  for (int k = 1; k <= 43; k += 6) {
    const std::string key = "File" + std::to_string(LogEntries + k) + "=";
    SCOPED_TRACE("killed at log entry " + key);
    ASSERT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q"), 0u);
    Kill(second, "/q", [&](DWORD) { return LogFileText(InstallDir + "\\" + InstallLogName).find(key) != std::string::npos; });
    ASSERT_EQ(RunQuietly(second.Dir() + "SETUP.EXE", "/q"), 0u);
    // Also in the killed run's work folder, which goes with the last of them.
    std::vector<std::string> left;
    ListTree(InstallDir + "\\*.*", true, left);
    for (const std::string& path : left) {
      const std::string name = LowerCase(ExtractFileName(path));
      EXPECT_FALSE(name.starts_with("~up") || name == "datei2.txt") << path << " is left";
    }
    for (const std::string name : {"DATEI1.EXE", "DATEI20.TXT"})
      EXPECT_EQ(FileText(InstallDir + "\\" + name), ExampleContent(name, 20001)) << name;
    RemoveWhatIsThere();
    ExpectUnchanged(before);
  }
}

TEST(Reliability, AFullDiskAsksAndLeavesNoPartialFile) {
  if (FileAttributes("S:\\") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no small drive S: here (scripts/small-drive.sh needs root to mount a tmpfs)";
  const std::string dir = "S:\\Adressen";
  Distribution dist("full_disk");
  dist.AddCompressed("ADRESSEN.EX_", ExampleContent("ADRESSEN.EXE"));
  dist.AddCompressed("GROSS.DA_", ExampleContent("GROSS.DAT", 100000));  // about 3 MB: more than the drive
  dist.AddFile("KLEIN.TXT", "klein\r\n");
  dist.AddProgram("[General]\r\nName=Adressen\r\ndefaultPath=" + dir +
                  "\r\n[StartMenu]\r\nFolder=Adressen\r\n"
                  "[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n2=GROSS.DA_\r\n3=KLEIN.TXT\r\n"
                  "[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  struct Case {
    const char* answer;
    DWORD exit;
    bool finished;  // the run went on to the end
  };
  for (const Case& c : {Case{"No", 3, true}, Case{"Yes", 3, true}, Case{"Cancel", 1, false}}) {
    SCOPED_TRACE(c.answer);
    DeleteTree(dir + "\\");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
    std::string shown;
    EXPECT_EQ(AnswerUntilExit(dist.Start("SETUP.EXE", "/s"), c.answer, shown), c.exit) << shown;
    EXPECT_LT(shown.find("GROSS.DA_"), shown.find('\n')) << "asked first: " << shown;
    EXPECT_FALSE(FileExists(dir + "\\GROSS.DAT")) << "no partial expansion under the target's name";
    EXPECT_TRUE(Entries(dir + "\\exp*").empty()) << "no unfinished temporary file";
    EXPECT_TRUE(FileExists(dir + "\\ADRESSEN.EXE"));
    EXPECT_EQ(FileExists(dir + "\\KLEIN.TXT"), c.finished);
    EXPECT_EQ(shown.find("GROSS.DAT konnte nicht kopiert werden!") != std::string::npos, c.answer == std::string("Yes"));
    // The log names the file that failed, and the next ones before they are copied.
    EXPECT_NE(LogFileText(dir + "\\" + InstallLogName).find("\\gross.dat"), std::string::npos);
    // Whatever the answer, the registered removal takes what is there: the uninstaller came first.
    EXPECT_EQ(RemoveQuietly(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(dir); }, 20000));
  }
  PrepareMachine();
}

TEST(Reliability, AHostileScriptWritesNothingOutsideTheInstallation) {
  PrepareMachine();
  Distribution dist("hostile_script");
  dist.AddCompressed("ADRESSEN.EX_", ExampleContent("ADRESSEN.EXE"));
  dist.AddFile("ZWEITE.TXT", "zweite\r\n");
  MakeFile("C:\\e2e\\boese.txt");  // beside the distribution, where ".." would reach
  const Snapshot before = TakeSnapshot();
  dist.AddProgram("[General]\r\nName=Adressen\r\ndefaultPath=" + InstallDir +
                  "\r\n[StartMenu]\r\n"
                  "Folder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n"
                  "2=..\\boese.txt\r\n3=C:\\e2e\\boese.txt\r\n4=NUL\r\n5=COM1\r\n6=" +
                  std::string(300, 'a') +
                  ".txt\r\n[Windows]\r\n1=..\\e2e\\boese.txt\r\n2=..\\..\\e2e\\boese.txt\r\n"
                  "[programfiles]\r\n1=ZWEITE.TXT\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  std::string shown;
  EXPECT_EQ(AnswerUntilExit(dist.Start("SETUP.EXE", "/s"), "Yes", shown), 3u) << shown;
  int failures = 0;
  for (size_t at = 0; (at = shown.find("konnte nicht kopiert werden!", at)) != std::string::npos; ++at) ++failures;
  EXPECT_EQ(failures, 7) << "each refused entry fails like a file that cannot be copied:\n" << shown;
  EXPECT_TRUE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
  EXPECT_FALSE(FileExists(InstallDir + "\\ZWEITE.TXT")) << "a second [programfiles] is never read";
  // Outside the installation only what an installation makes: shortcuts, group, registration.
  for (const std::string& line : Differences(before, TakeSnapshot()))
    EXPECT_TRUE(line.starts_with("new: " + Dir) || line.find("Uninstall\\Adressen") != std::string::npos ||
                (line.starts_with("new: c:\\users\\") && line.find("adressen") != std::string::npos))
        << line;
  // The uninstaller passes over the log's entries that point elsewhere (no failure) and removes the rest.
  EXPECT_EQ(RemoveInstallation(true), 0u) << "C:\\e2e\\boese.txt, named by the log through \"..\", stays";
  ExpectUnchanged(before, 20000);
  EXPECT_TRUE(FileExists("C:\\e2e\\boese.txt"));

  // Noise for a script: the program's own messages and an orderly end.
  std::string noise;
  for (unsigned i = 0, seed = 12345; i < 8192; ++i) noise += static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  dist.AddFile("Setup.lst", noise);
  shown.clear();
  EXPECT_LE(AnswerUntilExit(dist.Start("SETUP.EXE", "/s"), "Cancel", shown), 4u) << "a crash ends with a system status; shown:\n" << shown;
}

TEST(Reliability, TheBatchFileGivesUpOnAnUninstallerThatStaysInUse) {
  PrepareMachine();
  InstallUnattended("batch_in_use");
  auto waitingBatchFiles = [] { return Entries(TempDir() + "$*.bat").size(); };
  ASSERT_EQ(waitingBatchFiles(), 0u);
  KernelHandle held;
  Steps steps = RemovalSteps(true);
  // Another program holds Uninstal.exe open, without letting anyone delete it.
  steps[2].act = [&](HWND) {
    held = FromCreateFile(CreateFileNamed((InstallDir + "\\Uninstal.exe"), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
    EXPECT_TRUE(held);
  };
  EXPECT_EQ(Perform(StartProgram(InstallDir + "\\Uninstal.exe", ""), steps), 0u);
  EXPECT_TRUE(WaitUntil([&] { return waitingBatchFiles() == 1u; }, 5000)) << "the batch file runs";
  // About sixty tries a second apart, then it ends and deletes itself.
  const DWORD start = GetTickCount();
  EXPECT_TRUE(WaitUntil([&] { return waitingBatchFiles() == 0u; }, 120000)) << "the batch file never ended";
  std::printf("the batch file gave up after %lu s\n", static_cast<unsigned long>((GetTickCount() - start) / 1000));
  EXPECT_TRUE(FileExists(InstallDir + "\\Uninstal.exe")) << "held open, it stays";
  held = KernelHandle();
  DeleteTree(InstallDir + "\\");
}
