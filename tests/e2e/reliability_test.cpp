// The product as a whole under faults: an installation killed at any moment, a full disk,
// hostile setup scripts.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "codec/name_mapping.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/handles.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/removal.h"
#include "tests/e2e/scenario.h"

namespace {
// Text of a file another process is writing.
std::string SharedFileText(const std::string& path) {
  KernelHandle file = FromCreateFile(CreateFileA(path.c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string text(GetFileSize(file.Get(), nullptr), '\0');
  DWORD read = 0;
  ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
  text.resize(read);
  return text;
}

// Content that compresses and expands at a measurable pace.
std::string Bulk(const std::string& name, int lines) {
  std::string text;
  unsigned seed = 7;
  for (const char c : name) seed = seed * 31 + static_cast<unsigned char>(c);
  for (int i = 0; i < lines; ++i) {
    seed = seed * 1103515245 + 12345;
    text += name + " Zeile " + std::to_string(i) + " " + std::to_string(seed >> 8) + "\r\n";
  }
  return text;
}

// A distribution of 20 program files and 3 for the Windows directory, half of them
// compressed; 24 log entries with the uninstaller's.
constexpr int ProgramFiles = 20, WindowsFiles = 3, LogEntries = ProgramFiles + WindowsFiles + 1;
std::string ManyFilesName(int k) {
  const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
  return k % 2 ? "DATEI" + number + ".EX_" : "DATEI" + number + ".TXT";
}
std::string WindowsFileName(int k) { return "KILLT" + std::to_string(k) + (k % 2 ? ".DL_" : ".DLL"); }

void FillManyFiles(const Distribution& dist) {
  dist.AddSetupExe();
  dist.AddExample("Liesmich.txt");
  dist.AddExample("Vertrag.Txt");
  std::string script =
      "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\n"
      "Folder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n";
  auto add = [&](const std::string& name) {
    if (IsCompressedName(name)) dist.AddCompressed(name, Bulk(MapCompressedName(name), 20000));
    else dist.AddFile(name, Bulk(name, 20000));
  };
  for (int k = 1; k <= ProgramFiles; ++k) {
    script += std::to_string(k) + "=" + ManyFilesName(k) + "\r\n";
    add(ManyFilesName(k));
  }
  script += "[Windows]\r\n";
  for (int k = 1; k <= WindowsFiles; ++k) {
    script += std::to_string(k) + "=" + WindowsFileName(k) + "\r\n";
    add(WindowsFileName(k));
  }
  script += "[Items]\r\nDATEI01.EXE=Adressen\r\n";
  dist.AddFile("Setup.lst", script);
}

// After the kill, what a person does: with a log, the uninstaller (SETUP.EXE copied in as
// Uninstal.exe when the run did not get so far) with "Ja" throughout; without one, nothing
// was installed yet, and the directory holds at most unfinished temporary files.
void RemoveWhatIsThere(const Distribution& dist) {
  if (!FileExists(InstallDir + "\\Install1.log")) {
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((InstallDir + "\\*").c_str(), &found));
    if (find) do {
        const std::string name = LowerCase(found.cFileName);
        if (name == "." || name == "..") continue;
        EXPECT_TRUE((name.starts_with("cpy") || name.starts_with("exp")) && name.ends_with(".tmp"))
            << "an installed file without a log: " << name;
      } while (FindNextFileA(find.Get(), &found));
    RemoveFolder(InstallDir + "\\");
    return;
  }
  if (!FileExists(InstallDir + "\\Uninstal.exe"))
    CopyFileA((dist.Dir() + "SETUP.EXE").c_str(), (InstallDir + "\\Uninstal.exe").c_str(), FALSE);
  EXPECT_EQ(RemoveInstallation(true), 0u);
  EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(InstallDir); }, 20000));
}

// Installs unattended, kills the run when the moment has come, removes what is there and
// compares the machine with its state before.
void KillAndRemove(const Distribution& dist, const Snapshot& before, const std::function<bool(DWORD)>& moment,
                   const std::string& what) {
  SCOPED_TRACE(what);
  RemoveFolder(InstallDir + "\\");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  Program setup = dist.Start("SETUP.EXE", "/s");
  const DWORD start = GetTickCount();
  bool ended = false;
  while (!moment(GetTickCount() - start)) {
    if (WaitForSingleObject(setup.process.Get(), 0) == WAIT_OBJECT_0) {
      ended = true;
      break;
    }
    if (GetTickCount() - start > 60000) {
      std::string shown;
      for (HWND w : TopWindows(setup.pid))
        shown += " [" + WindowText(w) + ": " + DialogText(w) + MessageBoxText(w) + "]";
      ADD_FAILURE() << "the moment never came; on the screen:" << shown;
      break;
    }
    Sleep(1);
  }
  Kill(setup);
  if (ended) std::printf("%s: the installation had ended already\n", what.c_str());
  const std::string log = SharedFileText(InstallDir + "\\Install1.log");
  std::printf("%s: %zu bytes of log, registration %s\n", what.c_str(), log.size(),
              OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false) ? "made" : "not made");
  RemoveWhatIsThere(dist);
  EXPECT_TRUE(WaitUntil([&] { return Differences(before, TakeSnapshot()).empty(); }, 10000));
  for (const std::string& line : Differences(before, TakeSnapshot())) ADD_FAILURE() << line;
}

// What earlier scenarios that installed without removing left: the shortcuts and the group.
void ForgetEarlierShortcuts() {
  for (const int folder : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_COMMON_DESKTOPDIRECTORY,
                           CSIDL_COMMON_STARTMENU})
    DeleteFileA((SpecialFolder(nullptr, folder) + "\\Adressen.lnk").c_str());
  for (const int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS})
    RemoveFolder(SpecialFolder(nullptr, folder) + "\\Adressen\\");
  // The German folders of the chosen profile, which the user selection may choose.
  const std::string profile = GetProfilesDirectory() + "\\" + GetLogonUserName();
  for (const char* link : {"\\Desktop\\Adressen.lnk", "\\Startmenü\\Adressen.lnk"})
    DeleteFileA((profile + link).c_str());
  RemoveFolder(profile + "\\Startmenü\\Programme\\Adressen\\");
}

struct KillTest : ::testing::Test {
  void SetUp() override {
    PrepareSystemFolders();
    ForgetEarlierShortcuts();
    RemoveFolder(InstallDir + "\\");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
    FillManyFiles(dist);
    before = TakeSnapshot();
  }
  Distribution dist{"killed"};
  Snapshot before;
};
}  // namespace

TEST_F(KillTest, AtEveryFewFilesTheLogNamesWhatTheUninstallerThenRemoves) {
  for (int k = 1; k <= LogEntries; k += 2) {
    const std::string key = "File" + std::to_string(k) + "=";
    KillAndRemove(dist, before, [&](DWORD) {
      return SharedFileText(InstallDir + "\\Install1.log").find(key) != std::string::npos;
    }, "killed at log entry " + std::to_string(k));
  }
}

TEST_F(KillTest, AtMomentsSpreadOverTheRunAndAfterTheRegistration) {
  // One whole run first, for its length.
  const DWORD start = GetTickCount();
  {
    Program whole = dist.Start("SETUP.EXE", "/s");
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(whole, 60000, code));
    ASSERT_EQ(code, 0u);
    ASSERT_TRUE(FileExists(InstallDir + "\\Uninstal.exe"));
  }
  const DWORD length = GetTickCount() - start;
  RemoveWhatIsThere(dist);
  std::printf("a whole run takes %lu ms\n", static_cast<unsigned long>(length));
  for (DWORD part = 0; part < 12; ++part) {
    const DWORD ms = length * part / 12;
    KillAndRemove(dist, before, [&](DWORD elapsed) { return elapsed >= ms; },
                  "killed after " + std::to_string(ms) + " ms");
  }
  KillAndRemove(dist, before, [](DWORD) {
    return static_cast<bool>(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false));
  }, "killed once the registration is there");
}

namespace {
// Answers whatever the program asks until it ends: the typed retry questions with answer,
// the system's message boxes and our own message forms with OK. Gives the exit code and
// collects the texts shown.
DWORD AnswerUntilExit(const Program& program, const std::string& answer, std::vector<std::string>& shown) {
  DWORD code = 99;
  const DWORD start = GetTickCount();
  while (!WaitForExit(program, 50, code)) {
    if (GetTickCount() - start > 120000) {
      ADD_FAILURE() << "the program did not end";
      return code;
    }
    for (HWND w : TopWindows(program.pid)) {
      const std::string name = ControlName(w), title = WindowText(w);
      if (title == "Warnung" && FindControl(w, "Cancel")) {
        shown.push_back("question: " + DialogText(w));
        Answer(w, answer);
      } else if (WindowClass(w) == "#32770") {
        shown.push_back("box: " + MessageBoxText(w));
        PressDialogButton(w, "OK");
      } else if (name == "TMessageForm" || name == "Tf_Group" || name == "Tf_more") {
        shown.push_back("form: " + DialogText(w));
        Press(FindControl(w, name == "TMessageForm" ? "OK" : "BitBtn1"));
      }
    }
  }
  return code;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

bool AnyFileStartingWith(const std::string& dir, const std::string& prefix) {
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((dir + "\\" + prefix + "*").c_str(), &found));
  return static_cast<bool>(find);
}
}  // namespace

TEST(Reliability, AFullDiskAsksAndLeavesNoPartialFile) {
  if (GetFileAttributesA("S:\\") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "no small drive S: here (scripts/small-drive.sh needs root to mount a tmpfs)";
  const std::string dir = "S:\\Adressen";
  Distribution dist("full_disk");
  dist.AddSetupExe();
  dist.AddExample("Liesmich.txt");
  dist.AddExample("Vertrag.Txt");
  dist.AddCompressed("ADRESSEN.EX_", ExampleContent("ADRESSEN.EXE"));
  dist.AddCompressed("GROSS.DA_", Bulk("GROSS.DAT", 100000));  // about 3 MB: more than the drive
  dist.AddFile("KLEIN.TXT", "klein\r\n");
  dist.AddFile("Setup.lst",
               "[General]\r\nName=Adressen\r\ndefaultPath=" + dir + "\r\n[StartMenu]\r\nFolder=Adressen\r\n"
               "[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n2=GROSS.DA_\r\n3=KLEIN.TXT\r\n"
               "[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  struct Case {
    const char* answer;
    DWORD exit;
    bool finished;  // the run went on to the end
  };
  for (const Case& c : {Case{"No", 3, true}, Case{"Yes", 3, true}, Case{"Cancel", 1, false}}) {
    SCOPED_TRACE(c.answer);
    RemoveFolder(dir + "\\");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
    Program setup = dist.Start("SETUP.EXE", "/s");
    std::vector<std::string> shown;
    EXPECT_EQ(AnswerUntilExit(setup, c.answer, shown), c.exit) << Joined(shown);
    ASSERT_FALSE(shown.empty());
    EXPECT_NE(shown[0].find("GROSS.DA_"), std::string::npos) << Joined(shown);
    EXPECT_FALSE(FileExists(dir + "\\GROSS.DAT")) << "no partial expansion under the target's name";
    EXPECT_FALSE(AnyFileStartingWith(dir, "exp")) << "no unfinished temporary file";
    EXPECT_TRUE(FileExists(dir + "\\ADRESSEN.EXE"));
    EXPECT_EQ(FileExists(dir + "\\KLEIN.TXT"), c.finished);
    EXPECT_EQ(FileExists(dir + "\\Uninstal.exe"), c.finished);
    if (std::string(c.answer) == "Yes") {
      EXPECT_NE(Joined(shown).find("GROSS.DAT konnte nicht kopiert werden!"), std::string::npos) << Joined(shown);
    }
    // The log names the file that failed, unless "Abbrechen" ended the run at its question.
    EXPECT_EQ(SharedFileText(dir + "\\Install1.log").find("\\gross.dat") != std::string::npos, c.finished);
  }
  RemoveFolder(dir + "\\");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  ForgetEarlierShortcuts();
}

TEST(Reliability, AHostileScriptWritesNothingOutsideTheInstallation) {
  PrepareSystemFolders();
  ForgetEarlierShortcuts();
  RemoveFolder(InstallDir + "\\");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  Distribution dist("hostile_script");
  dist.AddSetupExe();
  dist.AddExample("Liesmich.txt");
  dist.AddExample("Vertrag.Txt");
  dist.AddCompressed("ADRESSEN.EX_", ExampleContent("ADRESSEN.EXE"));
  dist.AddFile("ZWEITE.TXT", "zweite\r\n");
  // A file beside the distribution that names with ".." would reach.
  MakeFile("C:\\e2e\\boese.txt");
  const Snapshot before = TakeSnapshot();
  dist.AddFile("Setup.lst",
               "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\n"
               "Folder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n"
               "2=..\\boese.txt\r\n3=C:\\e2e\\boese.txt\r\n4=NUL\r\n5=COM1\r\n6=" + std::string(300, 'a') +
               ".txt\r\n[Windows]\r\n1=..\\e2e\\boese.txt\r\n2=..\\..\\e2e\\boese.txt\r\n"
               "[programfiles]\r\n1=ZWEITE.TXT\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  Program setup = dist.Start("SETUP.EXE", "/s");
  std::vector<std::string> shown;
  EXPECT_EQ(AnswerUntilExit(setup, "Yes", shown), 3u) << Joined(shown);
  size_t failures = 0;
  for (const std::string& line : shown) failures += line.find("konnte nicht kopiert werden!") != std::string::npos;
  EXPECT_EQ(failures, 7u) << "each refused entry fails like a file that cannot be copied:\n" << Joined(shown);
  EXPECT_TRUE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
  EXPECT_FALSE(FileExists(InstallDir + "\\ZWEITE.TXT")) << "a second [programfiles] is never read";
  // Outside the installation only what an installation makes: shortcuts, group, registration.
  for (const std::string& line : Differences(before, TakeSnapshot())) {
    const bool own = line.starts_with("new: " + LowerCase(InstallDir)) ||
                     (line.starts_with("new: c:\\users\\") && line.find("adressen") != std::string::npos) ||
                     line.find("Uninstall\\Adressen") != std::string::npos;
    EXPECT_TRUE(own) << line;
  }
  // The uninstaller refuses the log's entries that point elsewhere and removes the rest.
  EXPECT_EQ(RemoveInstallation(true), 3u) << "C:\\e2e\\boese.txt, named by the log through \"..\", stays";
  EXPECT_TRUE(WaitUntil([&] { return Differences(before, TakeSnapshot()).empty(); }, 20000));
  for (const std::string& line : Differences(before, TakeSnapshot())) ADD_FAILURE() << line;
  EXPECT_TRUE(FileExists("C:\\e2e\\boese.txt"));
}

TEST(Reliability, ABinarySetupScriptEndsCleanly) {
  PrepareSystemFolders();
  Distribution dist("binary_script");
  dist.AddSetupExe();
  std::string noise;
  unsigned seed = 12345;
  for (int i = 0; i < 8192; ++i) {
    seed = seed * 1103515245 + 12345;
    noise += static_cast<char>(seed >> 16);
  }
  dist.AddFile("Setup.lst", noise);
  Program setup = dist.Start("SETUP.EXE", "/s");
  std::vector<std::string> shown;
  const DWORD code = AnswerUntilExit(setup, "Cancel", shown);
  EXPECT_LE(code, 4u) << "a crash ends with a system status; shown:\n" << Joined(shown);
}

namespace {
// The batch files of removals waiting in the temporary folder.
int WaitingBatchFiles() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((std::string(temp) + "$*.bat").c_str(), &found));
  int count = 0;
  if (find) do ++count; while (FindNextFileA(find.Get(), &found));
  return count;
}
}  // namespace

TEST(Reliability, TheBatchFileGivesUpOnAnUninstallerThatStaysInUse) {
  PrepareSystemFolders();
  ForgetEarlierShortcuts();
  RemoveFolder(InstallDir + "\\");
  InstallUnattended("batch_in_use");
  ASSERT_EQ(WaitingBatchFiles(), 0);
  Removal removal = StartUninstaller();
  ASSERT_TRUE(removal.window);
  HWND ask = ConfirmRemoval(removal);
  ASSERT_TRUE(ask);
  // Another program holds Uninstal.exe open, without letting anyone delete it.
  KernelHandle held = FromCreateFile(CreateFileA((InstallDir + "\\Uninstal.exe").c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  Press(FindControl(ask, "Button1"));
  EXPECT_EQ(FinishRemoval(removal), 0u);
  EXPECT_TRUE(WaitUntil([] { return WaitingBatchFiles() == 1; }, 5000)) << "the batch file runs";
  // About sixty tries a second apart, then it ends and deletes itself.
  const DWORD start = GetTickCount();
  EXPECT_TRUE(WaitUntil([] { return WaitingBatchFiles() == 0; }, 120000)) << "the batch file never ended";
  std::printf("the batch file gave up after %lu s\n", static_cast<unsigned long>((GetTickCount() - start) / 1000));
  EXPECT_TRUE(FileExists(InstallDir + "\\Uninstal.exe")) << "held open, it stays";
  held = KernelHandle();
  RemoveFolder(InstallDir + "\\");
}
