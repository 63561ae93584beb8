// The program from its start to the hand-over, driven from outside as a person would.
#include <gtest/gtest.h>

#include "env/file_system.h"
#include "env/registry.h"
#include "tests/e2e/scenario.h"

namespace {
const std::vector<std::string> SetupNodes = {
    "START", "1. Begrüßung", "2. Information", "3. Lizenzbedingungen",
    "4. Installationsverzeichnis", "5. Dateien kopieren", "6. Shortcuts", "ZIEL"};
const std::vector<std::string> UninstallNodes = {
    "START", "1. Sicherheitsabfrage", "2. Programmdateien löschen", "3. Abfrage Daten löschen",
    "ZIEL"};

const char InstallLog[] =
    "[General]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n";

}  // namespace

TEST(ProgramStart, MissingControlFileIsNamedTwiceAndEndsTheProgram) {
  struct Row {
    const char* exe;
    const char* controlFile;
  };
  for (const Row& row : {Row{"SETUP.EXE", "Setup.lst"}, Row{"Uninstal.exe", "install1.log"}}) {
    SCOPED_TRACE(row.exe);
    Distribution dist(std::string("missing_") + row.controlFile);
    dist.AddSetupExe(row.exe);
    dist.AddExample("Vertrag.Txt");
    Program program = dist.Start(row.exe);
    HWND box = WaitForWindow(program.pid, "#32770");
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box), std::string("Datei ") + row.controlFile +
                                       " nicht gefunden: " + dist.Dir() + row.controlFile);
    EXPECT_EQ(WindowText(box), "Setup");
    EXPECT_EQ(TopWindows(program.pid).size(), 1u) << "a window besides the message";
    OkAndExpectExit(program, box, 2);
  }
}

TEST(ProgramStart, SetupModeFollowsTheFileNameInAnyCase) {
  for (const char* exe : {"SETUP.EXE", "setup.exe", "Setup.Exe"}) {
    SCOPED_TRACE(exe);
    Distribution dist("mode_setup");
    dist.AddSetupExe(exe);
    dist.AddExample("Vertrag.Txt");
    dist.AddExample("Setup.lst");
    Program program = dist.Start(exe);
    HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
    ASSERT_TRUE(wizard);
    HWND start = StartWindow(program.pid);
    ASSERT_TRUE(start);
    EXPECT_TRUE(IsWindowVisible(start));
    EXPECT_EQ(WindowText(start), "Setup");
    EXPECT_EQ(WindowText(FindControl(start, "SetupType")), "Setup");
    EXPECT_EQ(WindowText(FindControl(start, "lbProgName")), "Adressen");
    HWND tree = FindControl(start, "TreeView1");
    EXPECT_EQ(TreeNodes(tree, program.pid), SetupNodes);
    EXPECT_EQ(TreeSelection(tree), 1) << "1. Begrüßung highlighted when the wizard shows";
    EndWith(program, wizard, "bnEnd", 1);
  }
}

TEST(ProgramStart, AnyOtherNameIsTheUninstaller) {
  for (const char* exe : {"Setup1.exe", "Uninstal.exe"}) {
    SCOPED_TRACE(exe);
    Distribution dist("mode_uninstall");
    dist.AddSetupExe(exe);
    dist.AddExample("Vertrag.Txt");
    dist.AddFile("install1.log", InstallLog);
    Program program = dist.Start(exe);
    HWND window = WaitForWindow(program.pid, "Tf_Uninstal");
    ASSERT_TRUE(window);
    EXPECT_EQ(WindowText(FindControl(window, "lbInfo")), dist.Dir() + exe);
    HWND start = StartWindow(program.pid);
    EXPECT_EQ(WindowText(start), "Deinstallation");
    EXPECT_EQ(WindowText(FindControl(start, "SetupType")), "Deinstallation");
    EXPECT_EQ(TreeNodes(FindControl(start, "TreeView1"), program.pid), UninstallNodes);
    EndWith(program, window, "Button2", 1);
  }
}

TEST(ProgramStart, WindowIsCentredBesideTheStepTree) {
  auto [dist, program, wizard] = StartExample("placement");
  ASSERT_TRUE(wizard);
  HWND start = StartWindow(program.pid);
  RECT tree, client, outer, own;
  GetWindowRect(FindControl(start, "TreeView1"), &tree);
  GetClientRect(start, &client);
  GetWindowRect(start, &outer);
  GetWindowRect(wizard, &own);
  const int w = tree.right - tree.left;
  EXPECT_EQ(own.left, w + (client.right - w - (own.right - own.left)) / 2);
  EXPECT_EQ(own.top, ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2);
  // The start window spans the screen's width from (1, 1).
  EXPECT_EQ(outer.left, 1);
  EXPECT_EQ(outer.top, 1);
  EXPECT_EQ(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));
  EndWith(program, wizard, "bnEnd", 1);
}

TEST(ProgramStart, NameMissingOrEmptyInTheScript) {
  struct Row {
    const char* script;
    const char* shown;
  };
  for (const Row& row : {Row{"[General]\r\ndefaultPath=C:\\x\r\n", "Programm"},
                         Row{"[General]\r\nName=\r\n", ""},
                         Row{"[general]\r\nNAME=Kasse 2000\r\n", "Kasse 2000"}}) {
    SCOPED_TRACE(row.script);
    Distribution dist("program_name");
    dist.AddSetupExe();
    dist.AddExample("Vertrag.Txt");
    dist.AddFile("Setup.lst", row.script);
    Program program = dist.Start();
    HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
    ASSERT_TRUE(wizard);
    EXPECT_EQ(WindowText(FindControl(StartWindow(program.pid), "lbProgName")), row.shown);
    EndWith(program, wizard, "bnEnd", 1);
  }
}

TEST(UnattendedMode, SlashSKeepsTheStartWindowHiddenAndDrivesTheWizard) {
  for (const char* argument : {"/s", "/S"}) {
    SCOPED_TRACE(argument);
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);  // no earlier directory proposed
    auto [dist, program, wizard] = StartExample("silent", argument);
    ASSERT_TRUE(wizard);
    RECT own;
    GetWindowRect(wizard, &own);
    EXPECT_EQ(own.left, 8000) << "the wizard is moved off the screen";
    // The wizard walks its pages by itself and installs without a question.
    EXPECT_FALSE(IsWindowVisible(StartWindow(program.pid))) << "start window shown";
    DWORD code = 99;
    ASSERT_TRUE(WaitForExit(program, 30000, code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(FileExists("C:\\Programme\\Adressen\\ADRESSEN.EXE"));
    EXPECT_TRUE(FileExists("C:\\Programme\\Adressen\\Uninstal.exe"));
    RegKey entry = OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false);
    EXPECT_EQ(ReadRegistryString(entry, "UninstallString"),
              "\"C:\\Programme\\Adressen\\Uninstal.exe\"") << "quoted against C:\\Program.exe";
    EXPECT_EQ(ReadRegistryString(entry, "DisplayName"), "Adressen deinstalieren");
  }
}

TEST(UnattendedMode, OtherArgumentsLeaveItAttended) {
  for (const char* arguments : {"/silent", "-s", "x /s"}) {
    SCOPED_TRACE(arguments);
    auto [dist, program, wizard] = StartExample("attended", arguments);
    ASSERT_TRUE(wizard);
    EXPECT_TRUE(IsWindowVisible(StartWindow(program.pid)));
    RECT own;
    GetWindowRect(wizard, &own);
    EXPECT_LT(own.left, GetSystemMetrics(SM_CXSCREEN));
    EndWith(program, wizard, "bnEnd", 1);
  }
}

TEST(UnattendedMode, TheUninstallerOnlyHidesItsStartWindow) {
  Distribution dist("silent_uninstall");
  dist.AddSetupExe("Uninstal.exe");
  dist.AddExample("Vertrag.Txt");
  dist.AddFile("install1.log", InstallLog);
  Program program = dist.Start("Uninstal.exe", "/s");
  HWND window = WaitForWindow(program.pid, "Tf_Uninstal");
  ASSERT_TRUE(window);
  EXPECT_FALSE(IsWindowVisible(StartWindow(program.pid)));
  Sleep(2500);  // no unattended walk: the window still waits for the user
  EXPECT_TRUE(IsWindowVisible(window));
  EndWith(program, window, "Button2", 1);
}

// The gradient: navy at the top, black at the bottom; on 8 bits per pixel plain silver.
TEST(StartWindow, BackgroundFollowsTheDisplayDepth) {
  auto [dist, program, wizard] = StartExample("gradient");
  ASSERT_TRUE(wizard);
  HWND start = StartWindow(program.pid);
  Sleep(500);  // let the start window finish painting
  const Screenshot shot = CaptureWindow(start);
  RECT outer, tree, banner;
  GetWindowRect(start, &outer);
  GetWindowRect(FindControl(start, "TreeView1"), &tree);
  GetWindowRect(FindControl(start, "pnBanner"), &banner);
  const int x = tree.right - outer.left + 12;
  const COLORREF top = shot.At(x, tree.top - outer.top + 60);
  const COLORREF bottom = shot.At(x, banner.top - outer.top - 4);
  const bool eightBit = ScreenBitsPerPixel() <= 8;
  SaveScreenshot(shot, eightBit ? "start-window-8bit" : "start-window");
  if (eightBit) {
    EXPECT_EQ(top, bottom) << "a plain background";
    EXPECT_GT(GetRValue(top), 150);
    EXPECT_LT(std::abs(GetRValue(top) - GetGValue(top)), 16);
    EXPECT_LT(std::abs(GetRValue(top) - GetBValue(top)), 24);
  } else {
    EXPECT_LT(GetRValue(top) + GetGValue(top), 16);
    EXPECT_GT(GetBValue(top), 100);
    EXPECT_LE(GetBValue(top), 128);
    EXPECT_LT(GetRValue(bottom) + GetGValue(bottom) + GetBValue(bottom), 16);
  }
  EndWith(program, wizard, "bnEnd", 1);
}

TEST(ProgramStart, TheDirectoryOfAnEarlierInstallationIsProposed) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\E2ePrevious";
  CreateDirectoryA("C:\\e2e", nullptr);
  CreateDirectoryA("C:\\e2e\\prev dir", nullptr);
  CreateDirectoryA("C:\\e2e\\prevdir", nullptr);
  struct Row {
    const char* uninstallString;
    const char* proposed;
  };
  const Row rows[] = {
      {"\"C:\\e2e\\prev dir\\Uninstal.exe\"", "C:\\e2e\\prev dir"},
      {"C:\\e2e\\prevdir\\Uninstal.exe", "C:\\e2e\\prevdir"},
      {"C:\\e2e\\gone\\Uninstal.exe", "C:\\Programme\\Vorschlag"},  // no longer there
      {"", "C:\\Programme\\Vorschlag"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.uninstallString);
    {
      RegKey entry = OpenRegistryKey(HKEY_LOCAL_MACHINE, key, true);
      WriteRegistryString(entry, "UninstallString", row.uninstallString);
    }
    Distribution dist("previous");
    dist.AddSetupExe();
    dist.AddExample("Vertrag.Txt");
    dist.AddFile("Setup.lst",
                 "[General]\r\nName=Vorschlag\r\ndefaultPath=C:\\Programme\\Vorschlag\r\n"
                 "[StartMenu]\r\nFolder=E2ePrevious\r\n");
    Program program = dist.Start();
    HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
    ASSERT_TRUE(wizard);
    EXPECT_EQ(WindowText(FindControl(wizard, "edPathName")), row.proposed);
    EndWith(program, wizard, "bnEnd", 1);
  }
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
}

// The start only looks for an earlier registration: a key made here would stay behind,
// empty, after every run that ends before the installation registers itself.
TEST(ProgramStart, AMissingRegistrationKeyIsNotCreated) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\E2eFresh";
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
  Distribution dist("fresh_key");
  dist.AddSetupExe();
  dist.AddExample("Vertrag.Txt");
  dist.AddFile("Setup.lst", "[StartMenu]\r\nFolder=E2eFresh\r\n");
  Program program = dist.Start();
  HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
  ASSERT_TRUE(wizard);
  EXPECT_EQ(WindowText(FindControl(wizard, "edPathName")), "C:\\App");
  EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, key, false));
  EndWith(program, wizard, "bnEnd", 1);
  EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, key, false));
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
}
