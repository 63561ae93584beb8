// The program from its start to the hand-over: the mode by file name, the control file, the
// switch for the unattended run, the start window, the directory proposed.
#include <gtest/gtest.h>

#include "env/file_system.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"

using namespace SetupForm;

namespace {
const char InstallLog[] = "[General]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n";
}  // namespace

TEST(ProgramStart, TheFileNameTheControlFileAndTheArgumentDecideWhatComes) {
  struct Row {
    const char *exe, *control, *arguments;
    const char* window;  // what comes first: the wizard, the uninstall window, a message box
    const char* shown;   // the program name in the start window; the message box's file
    bool startShown;
  };
  const Row rows[] = {
      {"SETUP.EXE", nullptr, "", "#32770", "Setup.lst", false},
      {"Uninstal.exe", nullptr, "", "#32770", "install1.log", false},
      {"setup.exe", "[General]\r\nName=Adressen\r\n", "", "Tf_Aktion", "Adressen", true},
      {"Setup.Exe", "[general]\r\nNAME=Kasse 2000\r\n", "x /s", "Tf_Aktion", "Kasse 2000", true},
      {"SETUP.EXE", "[General]\r\ndefaultPath=C:\\x\r\n", "/silent", "Tf_Aktion", "Programm", true},
      {"SETUP.EXE", "[General]\r\nName=\r\n", "-s", "Tf_Aktion", "", true},
      {"Setup1.exe", InstallLog, "", "Tf_Uninstal", "", true},
      {"Uninstal.exe", InstallLog, "/s", "Tf_Uninstal", "", false},  // hides only its start window
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.exe) + " " + row.arguments);
    Distribution dist("start");
    dist.AddSetupExe(row.exe);
    dist.AddExample("Vertrag.Txt");
    const bool setup = std::string(row.window) == "Tf_Aktion";
    if (row.control) dist.AddFile(setup ? "Setup.lst" : "install1.log", row.control);
    Program program = dist.Start(row.exe, row.arguments);
    HWND window = WaitForWindow(program.pid, row.window);
    ASSERT_TRUE(window);
    if (!row.control) {
      EXPECT_NE(Shown(window).find(row.shown + std::string(" nicht gefunden: ") + dist.Dir() + row.shown), std::string::npos)
          << Shown(window);
      EXPECT_EQ(TopWindows(program.pid).size(), 1u) << "a window besides the message";
      EXPECT_EQ(Perform(program, {{"#32770", "OK"}}), 2u);
      continue;
    }
    HWND start = StartWindow(program.pid);
    EXPECT_EQ(IsWindowVisible(start) != FALSE, row.startShown);
    EXPECT_EQ(WindowText(FindControl(start, SetupType)), WindowText(start));
    const size_t nodes = TreeNodes(FindControl(start, TreeView1), program.pid).size();
    if (setup) {
      EXPECT_EQ(WindowText(start), "Setup");
      EXPECT_EQ(WindowText(FindControl(start, lbProgName)), row.shown);
      EXPECT_EQ(nodes, 8u);
      EXPECT_EQ(TreeSelection(FindControl(start, TreeView1)), 1) << "the welcome step highlighted";
      RECT own;
      GetWindowRect(window, &own);
      EXPECT_LT(own.left, GetSystemMetrics(SM_CXSCREEN)) << "an attended wizard is on the screen";
      EXPECT_EQ(Perform(program, {{row.window, AktionForm::bnEnd}}), 1u);
    } else {
      EXPECT_EQ(WindowText(start), "Deinstallation");
      EXPECT_EQ(WindowText(FindControl(window, UninstalForm::lbInfo)), dist.Dir() + row.exe);
      EXPECT_EQ(nodes, 5u);
      Sleep(row.startShown ? 0 : 2500);  // no unattended walk: the window waits for the user
      EXPECT_TRUE(IsWindowVisible(window));
      EXPECT_EQ(Perform(program, {{row.window, UninstalForm::Button2}}), 1u);
    }
  }
}

// Beside the step tree, over the screen's width; the gradient from navy to black, on 256
// colours a plain silver.
TEST(StartWindow, SpansTheScreenPlacesTheWizardBesideItsTreeAndShowsTheBackground) {
  Distribution dist = ExampleDistribution("placement");
  Program program = dist.Start();
  HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
  ASSERT_TRUE(wizard);
  HWND start = StartWindow(program.pid);
  RECT tree, client, outer, own, banner;
  GetWindowRect(FindControl(start, TreeView1), &tree);
  GetClientRect(start, &client);
  GetWindowRect(start, &outer);
  GetWindowRect(wizard, &own);
  GetWindowRect(FindControl(start, pnBanner), &banner);
  const int w = tree.right - tree.left;
  EXPECT_EQ(own.left, w + (client.right - w - (own.right - own.left)) / 2);
  EXPECT_EQ(own.top, ((outer.bottom - outer.top) - (own.bottom - own.top)) / 2);
  EXPECT_EQ(outer.left, 1);
  EXPECT_EQ(outer.top, 1);
  EXPECT_EQ(outer.right - outer.left, GetSystemMetrics(SM_CXSCREEN));

  Sleep(500);  // let the start window finish painting
  const Screenshot shot = CaptureWindow(start);
  const int x = tree.right - outer.left + 12;
  const COLORREF top = shot.At(x, tree.top - outer.top + 60), bottom = shot.At(x, banner.top - outer.top - 4);
  const bool eightBit = ScreenBitsPerPixel() <= 8;
  SaveScreenshot(shot, eightBit ? "start-window-8bit" : "start-window");
  if (eightBit) {
    EXPECT_EQ(top, bottom) << "a plain background";
    EXPECT_GT(GetRValue(top), 150);
    EXPECT_LT(std::abs(GetRValue(top) - GetGValue(top)) + std::abs(GetRValue(top) - GetBValue(top)), 40);
  } else {
    EXPECT_LT(GetRValue(top) + GetGValue(top), 16);
    EXPECT_GT(GetBValue(top), 100);
    EXPECT_LE(GetBValue(top), 128);
    EXPECT_LT(GetRValue(bottom) + GetGValue(bottom) + GetBValue(bottom), 16);
  }
  EXPECT_EQ(Perform(program, {{"Tf_Aktion", AktionForm::bnEnd}}), 1u);
}

// The start only looks for an earlier registration: a key made there would stay behind,
// empty, after every run that ends before the installation registers itself.
// ... unless the command line names one: "/D=" wins over both.
TEST(ProgramStart, TheDirectoryOfAnEarlierInstallationIsProposed) {
  const std::string key = UninstallKeyOf("E2ePrevious");
  ForceDirectories("C:\\e2e\\prev dir");
  ForceDirectories("C:\\e2e\\prevdir");
  struct Row {
    const char *uninstallString, *proposed;  // no registration at all: nullptr
    std::string arguments = "";
  };
  for (const Row& row :
       {Row{"\"C:\\e2e\\prev dir\\Uninstal.exe\"", "C:\\e2e\\prev dir"},
        Row{"\"C:\\e2e\\prev dir\\Uninstal.exe\"", "C:\\Mein Ort\\Prog", "\"/D=C:\\Mein Ort\\Prog\""},
        Row{"C:\\e2e\\prevdir\\Uninstal.exe", "C:\\e2e\\prevdir"}, Row{"C:\\e2e\\gone\\Uninstal.exe", "C:\\Programme\\Vorschlag"},
        Row{"", "C:\\Programme\\Vorschlag"}, Row{nullptr, "C:\\Programme\\Vorschlag"}}) {
    SCOPED_TRACE(row.uninstallString ? row.uninstallString : "no key");
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
    if (row.uninstallString) WriteRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, key, true), "UninstallString", row.uninstallString);
    Distribution dist("previous");
    dist.AddSetupExe();
    dist.AddExample("Vertrag.Txt");
    dist.AddFile("Setup.lst",
                 "[General]\r\nName=Vorschlag\r\ndefaultPath=C:\\Programme\\Vorschlag\r\n"
                 "[StartMenu]\r\nFolder=E2ePrevious\r\n");
    Program program = dist.Start("SETUP.EXE", row.arguments);
    HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
    ASSERT_TRUE(wizard);
    EXPECT_EQ(WindowText(FindControl(wizard, AktionForm::edPathName)), row.proposed);
    EXPECT_EQ(Perform(program, {{"Tf_Aktion", AktionForm::bnEnd}}), 1u);
    EXPECT_EQ(static_cast<bool>(OpenRegistryKey(HKEY_LOCAL_MACHINE, key, false)), row.uninstallString != nullptr);
  }
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, key);
}
