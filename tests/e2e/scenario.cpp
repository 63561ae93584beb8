#include "tests/e2e/scenario.h"

#include "codec/name_mapping.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"

void PressAndExpectExit(const Program& program, HWND button, DWORD expected) {
  Press(button);
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(program, 10000, code)) << "still running after " << WindowText(button);
  EXPECT_EQ(code, expected);
}

void EndWith(const Program& program, HWND window, const std::string& button, DWORD expected) {
  PressAndExpectExit(program, FindControl(window, button), expected);
}

void OkAndExpectExit(const Program& program, HWND box, DWORD expected) {
  PressAndExpectExit(program, DialogButton(box, "OK"), expected);
}

Example StartExample(const std::string& name, const std::string& arguments, unsigned files) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  Example example(name);
  example.dist.AddSetupExe();
  example.dist.AddExample("Setup.lst");
  if (files & WithReadme) example.dist.AddExample("Liesmich.txt");
  if (files & WithLicence) example.dist.AddExample("Vertrag.Txt");
  if (files & WithProgramFiles)
    for (const char* file : {"ADRESSEN.EX_", "ADRESSEN.HL_", "beispiel.hd_", "ADRHELP.DL_"})
      example.dist.AddCompressed(file, ExampleContent(MapCompressedName(file)));
  Launch(example, arguments);
  return example;
}

void Launch(Example& example, const std::string& arguments) {
  example.program = example.dist.Start("SETUP.EXE", arguments);
  example.wizard = WaitForWindow(example.program.pid, "Tf_Aktion");
}

std::string ExampleContent(const std::string& installedName) {
  // The example's own files: the program and library of this build, the help file and the
  // sample database from examples/.
  const std::string name = LowerCase(installedName);
  if (name == "adressen.exe" || name == "adrhelp.dll") return FileText(GetExeDirectory() + UpperCase(name));
  if (name == "adressen.hlp") return FileText(std::string(E2E_EXAMPLES_DIR) + "\\ADRESSEN.HLP");
  if (name == "beispiel.hdb") return FileText(std::string(E2E_EXAMPLES_DIR) + "\\beispiel.hdb");
  std::string content = "Inhalt von " + installedName + "\r\n";
  for (int i = 0; i < 200; ++i) content += "Zeile " + std::to_string(i) + " von " + installedName + "\r\n";
  return content;
}

std::string InstallExample(Example& example) {
  auto pressAndWait = [&](const char* name, const char* page) {
    HWND button = FindControl(example.wizard, name);
    WaitUntil([&] { return IsWindowVisible(button) && IsWindowEnabled(button); }, 5000);
    Press(button);
    EXPECT_TRUE(WaitUntil([&] { return ActivePage(example.wizard) == page; }, 5000))
        << "on " << ActivePage(example.wizard) << " instead of " << page;
  };
  pressAndWait("bnInstal", "Info");
  pressAndWait("bnInstal", "BGB");
  pressAndWait("bnja", "Path");
  const std::string target = example.dist.Dir() + "Programm";
  SendMessageA(FindControl(example.wizard, "edPathName"), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(target.c_str()));
  Press(FindControl(example.wizard, "bnInstal"));
  return target;
}

void Shoot(HWND window, const std::string& name) {
  Sleep(300);
  SaveScreenshot(CaptureWindow(window), name);
}

namespace {
void Tick(HWND box, bool ticked) {
  SendMessageA(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// One of the dialogs that follow the copying; the answer given, or false when none came.
bool AnswerNextDialog(Example& example, const Choices& choices) {
  HWND window = nullptr;
  WaitUntil([&] {
    for (HWND w : TopWindows(example.program.pid)) {
      const std::string name = ControlName(w);
      if (name == "Tf_Group" || name == "Tf_more" || name == "TMessageForm") window = w;
    }
    DWORD code = 0;
    return window != nullptr || WaitForExit(example.program, 0, code);
  }, 20000);
  if (!window) return false;
  const std::string name = ControlName(window);
  if (name == "TMessageForm") {
    EXPECT_NE(DialogText(window).find("ordnungsgem"), std::string::npos) << DialogText(window);
    Answer(window, choices.start ? "Yes" : "No");
    return true;
  }
  if (name == "Tf_Group" && choices.user >= 0)
    SendMessageA(FindControl(window, "cbUsers"), CB_SETCURSEL, choices.user, 0);
  if (name == "Tf_more") {
    Tick(FindControl(window, "cbDesktop"), choices.desktop);
    Tick(FindControl(window, "cbStartmenu"), choices.startMenu);
  }
  if (name == "Tf_more" && choices.closeOptions)
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  else
    Press(FindControl(window, "BitBtn1"));
  WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
  return true;
}
}  // namespace

void FinishAttendedInstall(Example& example, DWORD expectedExit, const Choices& choices) {
  for (int answered = 0; answered < 5 && AnswerNextDialog(example, choices); ++answered) {
  }
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(example.program, 15000, code)) << "the installation did not end";
  EXPECT_EQ(code, expectedExit);
}

HWND StartWindow(DWORD pid) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : TopWindows(pid, true))
      if (ControlName(w) == "Tf_Setup") found = w;
    return found != nullptr;
  });
  return found;
}

std::string ActivePage(HWND wizard) {
  for (const char* page : {"Welcome", "Info", "BGB", "Path", "CopyInfo"})
    if (IsWindowVisible(FindControl(wizard, page))) return page;
  return "";
}

std::string HighlightedStep(DWORD pid) {
  HWND tree = FindControl(StartWindow(pid), "TreeView1");
  const std::vector<std::string> nodes = TreeNodes(tree, pid);
  const int selected = TreeSelection(tree);
  return selected >= 0 && selected < static_cast<int>(nodes.size()) ? nodes[selected] : "";
}

HWND WaitForDialog(DWORD pid, DWORD timeoutMs) {
  return WaitForWindow(pid, "TMessageForm", timeoutMs);
}

std::string DialogText(HWND dialog) { return WindowText(FindControl(dialog, "Message")); }

void Answer(HWND dialog, const std::string& button) {
  Press(FindControl(dialog, button));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
      << "the dialog stayed after " << button;
}
