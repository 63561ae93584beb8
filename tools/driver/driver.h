// The window driver: starts programs and works their windows from another process, as a
// person would: finds windows and controls by name, reads texts, presses buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "env/handles.h"

// A program still running when its Program goes (a scenario that failed half-way) is ended,
// so that no window of it is left to disturb the next scenario.
struct Program {
  Program() = default;
  Program(Program&&) = default;
  Program& operator=(Program&&) = default;
  ~Program();
  KernelHandle process;
  DWORD pid = 0;
};

// Starts exe (full path) with the given argument text in its own folder.
Program StartProgram(const std::string& exe, const std::string& arguments);
// Waits for the program's end; false on time-out. The exit code lands in code.
bool WaitForExit(const Program& program, DWORD timeoutMs, DWORD& code);
void Kill(const Program& program);

// Top-level windows of the process (visible ones only, unless all is set).
std::vector<HWND> TopWindows(DWORD pid, bool all = false);
// Waits until a visible top-level window of the process has this designed name (our forms)
// or, for the system's message boxes, this class ("#32770"). Null on time-out.
HWND WaitForWindow(DWORD pid, const std::string& nameOrClass, DWORD timeoutMs = 10000);
// The designed name a window carries; empty for windows that are not ours.
std::string ControlName(HWND hwnd);
// The windows inside root, at any depth.
std::vector<HWND> Descendants(HWND root);
// The control of that name inside root, at any depth; null when there is none.
HWND FindControl(HWND root, const std::string& name);
std::string WindowText(HWND hwnd);
std::string WindowClass(HWND hwnd);
// Presses a button as a click would: nothing happens when it is disabled or hidden.
void Press(HWND button);
// The keyboard: the control with the focus in the process's window thread, and a key as the
// keyboard delivers it there (a virtual key, or Alt and a letter when altLetter is set).
HWND FocusOf(DWORD pid);
void PressKey(HWND focus, UINT key, char altLetter = 0);
// The system message box: its text, and a press on its button with that caption.
std::string MessageBoxText(HWND box);
HWND DialogButton(HWND dialog, const std::string& caption);
void PressDialogButton(HWND dialog, const std::string& caption);

// Tree views of another process: every node's text, and the selected node's index (-1: none).
std::vector<std::string> TreeNodes(HWND tree, DWORD pid);
int TreeSelection(HWND tree);

// A picture of the screen rectangle; pixels as colour references.
struct Screenshot {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool SaveBmp(const std::string& path) const;
};
Screenshot CaptureScreen(const RECT& rect);
Screenshot CaptureWindow(HWND hwnd);
int ScreenBitsPerPixel();

// A time bound as this machine needs it: timeoutMs times SETUP_TEST_SLOWNESS (set where the
// programs run in an emulated processor, several times slower), else as given. Every wait of
// the driver goes through it: a bound is there to catch a program that hangs, not to fail
// one that works on a slow machine.
DWORD Patience(DWORD timeoutMs);

// Polls until the condition holds or the time runs out.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount(), limit = Patience(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start > limit) return false;
    Sleep(50);
  }
}

// A shortcut file read back through the shell's own link interface; the show command from the
// file's header, since Wine's loader does not keep it.
struct ShellLinkFields {
  std::string path, description, workingDir;
  int showCmd = 0;
};
ShellLinkFields ReadShellLink(const std::string& linkFile);

// A file's whole content; empty when it cannot be read.
std::string FileText(const std::string& path);
// An install log's text, in whichever form it was written (UTF-16, or an earlier version's ANSI).
std::string LogFileText(const std::string& path);
// An install log of that text, as this version writes it or (earlierVersion) as the versions
// before wrote it: in the system's code page.
void MakeLogFile(const std::string& path, const std::string& text, bool earlierVersion = false);
// A file of that content (one byte by default), replacing any.
void MakeFile(const std::string& path, const std::string& content = "x");
