#include "tests/e2e/scenario.h"

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
  Example example(name);
  example.dist.AddSetupExe();
  example.dist.AddExample("Setup.lst");
  if (files & WithReadme) example.dist.AddExample("Liesmich.txt");
  if (files & WithLicence) example.dist.AddExample("Vertrag.Txt");
  example.program = example.dist.Start("SETUP.EXE", arguments);
  example.wizard = WaitForWindow(example.program.pid, "Tf_Aktion");
  return example;
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
