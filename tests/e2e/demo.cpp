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
  Line("Wizard page:      " + WindowText(FindControl(wizard, "pnTitle0")));
  Press(FindControl(wizard, "bnEnd"));
  DWORD code = 0;
  if (!WaitForExit(program, 10000, code)) {
    Line("SETUP.EXE did not end after Beenden");
    Kill(program);
    return 1;
  }
  Line("Ended with \"&Beenden\": exit status " + std::to_string(code));
  return code == 1 ? 0 : 1;
}
