// The demo: runs SETUP.EXE from the example distribution, takes pictures, reports.
#include <windows.h>

#include <cstdio>

#include "tests/e2e/distribution.h"

namespace {
void Line(const std::string& text) { std::printf("%s\n", text.c_str()); }

void ReportStartWindow(HWND start, DWORD pid) {
  Line("  caption:        " + WindowText(start));
  Line("  program name:   " + WindowText(FindControl(start, "lbProgName")));
  HWND tree = FindControl(start, "TreeView1");
  const std::vector<std::string> nodes = TreeNodes(tree, pid);
  const int selected = TreeSelection(tree);
  for (size_t i = 0; i < nodes.size(); ++i)
    Line(std::string(static_cast<int>(i) == selected ? "  > " : "    ") + nodes[i]);
}
}  // namespace

int main() {
  Distribution dist("demo");
  for (const char* file : {"Setup.lst", "Liesmich.txt", "Vertrag.Txt"}) dist.AddExample(file);
  // The program files Setup.lst names, compressed here from stand-in texts.
  for (const char* file : {"ADRESSEN.EX_", "ADRESSEN.HL_", "beispiel.hd_", "ADRHELP.DL_"})
    dist.AddCompressed(file, std::string("Stand-in for ") + file + "\r\n");
  dist.AddSetupExe();
  Line("Distribution: " + dist.Dir());
  Program program = dist.Start();
  HWND wizard = WaitForWindow(program.pid, "Tf_Aktion");
  if (!wizard) {
    Line("the wizard did not appear");
    Kill(program);
    return 1;
  }
  Sleep(500);
  HWND start = nullptr;
  for (HWND w : TopWindows(program.pid))
    if (ControlName(w) == "Tf_Setup") start = w;
  Line("Start window:");
  ReportStartWindow(start, program.pid);
  const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SaveScreenshot(CaptureScreen(screen), "demo-start-window");
  // Through the pages as a person would, a picture of each.
  auto press = [&](const char* button, const char* page, const char* shot) {
    Press(FindControl(wizard, button));
    WaitUntil([&] { return IsWindowVisible(FindControl(wizard, page)) != FALSE; });
    Sleep(300);
    SaveScreenshot(CaptureWindow(wizard), shot);
    Line(std::string("  ") + WindowText(FindControl(wizard, std::string("pnTitle") + shot[5])));
  };
  Line("Wizard:");
  SaveScreenshot(CaptureWindow(wizard), "demo-0-welcome");
  Line("  " + WindowText(FindControl(wizard, "pnTitle0")));
  press("bnInstal", "Info", "demo-1-info");
  press("bnInstal", "BGB", "demo-2-licence");
  press("bnja", "Path", "demo-3-directory");
  const std::string target = WindowText(FindControl(wizard, "edPathName"));
  Press(FindControl(wizard, "bnInstal"));
  // What the installation asks at its end: user, options (both ticked), start the program?
  DWORD code = 0;
  for (int answered = 0; answered < 6 && !WaitForExit(program, 0, code); ++answered) {
    HWND window = nullptr;
    WaitUntil([&] {
      for (HWND w : TopWindows(program.pid)) {
        const std::string name = ControlName(w);
        if (name == "Tf_Group" || name == "Tf_more" || name == "TMessageForm") window = w;
      }
      return window != nullptr || WaitForExit(program, 0, code);
    }, 30000);
    if (!window) break;
    const std::string name = ControlName(window);
    Sleep(300);
    SaveScreenshot(CaptureWindow(window), "demo-dialog-" + name);
    if (name == "Tf_more") {
      for (const char* box : {"cbDesktop", "cbStartmenu"})
        SendMessageA(FindControl(window, box), BM_SETCHECK, BST_CHECKED, 0);
    }
    Line("  asked: " + WindowText(window));
    HWND button = FindControl(window, name == "TMessageForm" ? "No" : "BitBtn1");
    if (!button) button = FindControl(window, "OK");
    Press(button);
    WaitUntil([&] { return !IsWindowVisible(window); });
  }
  if (!WaitForExit(program, 20000, code)) {
    Line("SETUP.EXE did not end after the installation");
    Kill(program);
    return 1;
  }
  Line("Installed into " + target + ", exit status " + std::to_string(code) + ":");
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((target + "\\*").c_str(), &entry);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry))
    if (entry.cFileName[0] != '.') Line(std::string("  ") + entry.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  return code == 0 ? 0 : 1;
}
