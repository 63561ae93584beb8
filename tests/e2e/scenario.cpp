#include "tests/e2e/scenario.h"

#include "env/registry.h"
#include "transfer/name_mapping.h"

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
  example.program = example.dist.Start("SETUP.EXE", arguments);
  example.wizard = WaitForWindow(example.program.pid, "Tf_Aktion");
  return example;
}

std::string ExampleContent(const std::string& installedName) {
  std::string content = "Inhalt von " + installedName + "\r\n";
  for (int i = 0; i < 200; ++i) content += "Zeile " + std::to_string(i) + " von " + installedName + "\r\n";
  return content;
}

void FinishAttendedInstall(Example& example, DWORD expectedExit) {
  const DWORD pid = example.program.pid;
  for (int answered = 0; answered < 5; ++answered) {
    HWND window = nullptr;
    std::string name;
    ASSERT_TRUE(WaitUntil([&] {
      for (HWND w : TopWindows(pid)) {
        name = ControlName(w);
        if (name == "Tf_Group" || name == "Tf_more" || name == "TMessageForm") window = w;
      }
      DWORD code = 0;
      return window != nullptr || WaitForExit(example.program, 0, code);
    }, 20000)) << "the installation asked nothing and did not end";
    if (!window) break;
    name = ControlName(window);
    if (name == "TMessageForm") {
      EXPECT_NE(DialogText(window).find("ordnungsgem"), std::string::npos) << DialogText(window);
      Answer(window, "No");
    } else {
      Press(FindControl(window, "BitBtn1"));
      WaitUntil([&] { return !IsWindowVisible(window); });
    }
  }
  DWORD code = 0;
  ASSERT_TRUE(WaitForExit(example.program, 15000, code));
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
