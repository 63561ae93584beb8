// The demo: runs SETUP.EXE from the example distribution, takes pictures, reports.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "env/folders.h"
#include "env/handles.h"
#include "env/profiles.h"
#include "env/registry.h"
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
// The visible top-level window with this title, of any process.
HWND WaitForTopWindow(const char* title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(nullptr, title)) != nullptr && IsWindowVisible(found); },
            timeoutMs);
  return found;
}

void ListFolder(const std::string& dir) {
  WIN32_FIND_DATAA entry;
  FindHandle search(FindFirstFileA((dir + "\\*").c_str(), &entry));
  for (bool more = static_cast<bool>(search); more; more = FindNextFileA(search.Get(), &entry))
    if (entry.cFileName[0] != '.') Line(std::string("  ") + entry.cFileName);
}

constexpr char AdressenKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adressen";

std::string Registration() {
  const RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false);
  return key ? "UninstallString=" + ReadRegistryString(key, "UninstallString") : "none";
}

// A window of the program named name, to be found, pictured and answered with button.
bool AnswerWindow(const Program& program, const char* name, const char* button, const std::string& shot) {
  HWND window = WaitForWindow(program.pid, name, 30000);
  if (!window) {
    Line(std::string("  no ") + name + " appeared");
    return false;
  }
  Sleep(300);
  SaveScreenshot(CaptureWindow(window), shot);
  Line("  asked: " + WindowText(window));
  Press(FindControl(window, button));
  WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
  return true;
}

// Where the installation put its shortcuts: the chosen profile's folders, or the user's own.
std::vector<std::string> ShortcutPlaces(const std::string& target) {
  char profile[MAX_PATH] = {};
  GetPrivateProfileStringA("BenutzerKonto", "UserName", "", profile, MAX_PATH,
                           (target + "\\install1.log").c_str());
  if (*profile)
    return {std::string(profile) + "\\Startmenü\\Programme\\Adressen",
            std::string(profile) + "\\Desktop\\Adressen.LNK",
            std::string(profile) + "\\Startmenü\\Adressen.LNK"};
  return {SpecialFolder(nullptr, CSIDL_PROGRAMS) + "\\Adressen",
          SpecialFolder(nullptr, CSIDL_DESKTOP) + "\\Adressen.LNK",
          SpecialFolder(nullptr, CSIDL_STARTMENU) + "\\Adressen.LNK"};
}

// The installation removed through its uninstaller, and a look at what is left.
bool Remove(const std::string& target) {
  const std::vector<std::string> shortcuts = ShortcutPlaces(target);
  for (const std::string& place : shortcuts)
    Line("  shortcut " + place + (GetFileAttributesA(place.c_str()) != INVALID_FILE_ATTRIBUTES ? " made" : " missing"));
  Line("Removing it with " + target + "\\Uninstal.exe:");
  Program program = StartProgram(target + "\\Uninstal.exe", "");
  HWND window = WaitForWindow(program.pid, "Tf_Uninstal");
  if (!window) return false;
  Sleep(500);
  SaveScreenshot(CaptureWindow(window), "demo-uninstall");
  Press(FindControl(window, "Button1"));
  const bool answered = AnswerWindow(program, "TMessageForm", "Yes", "demo-uninstall-confirm") &&
                        AnswerWindow(program, "Tf_Ask", "Button1", "demo-uninstall-directory") &&
                        AnswerWindow(program, "TMessageForm", "OK", "demo-uninstall-done");
  DWORD code = 99;
  if (!answered || !WaitForExit(program, 20000, code)) {
    Kill(program);
    return false;
  }
  const bool gone = WaitUntil([&] { return GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES; },
                              20000);
  Line("  exit status " + std::to_string(code) + "; " + target +
       (gone ? " is gone, the uninstaller with it" : " is still there"));
  Line("  registration: " + Registration());
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const bool dll = GetFileAttributesA((std::string(windows) + "\\ADRHELP.DLL").c_str()) != INVALID_FILE_ATTRIBUTES;
  Line(std::string("  ") + windows + "\\ADRHELP.DLL " + (dll ? "is still there" : "is gone"));
  bool shortcutsGone = true;
  for (const std::string& place : shortcuts) {
    const bool left = GetFileAttributesA(place.c_str()) != INVALID_FILE_ATTRIBUTES;
    Line("  " + place + (left ? " is still there" : " is gone"));
    shortcutsGone = shortcutsGone && !left;
  }
  return code == 0 && gone && !dll && shortcutsGone && Registration() == "none";
}
}  // namespace

// Usage: demo_driver DIR, the folder of a distribution that distkit built.
int main(int argc, char** argv) {
  if (argc != 2) {
    Line("usage: demo_driver DISTRIBUTION-FOLDER");
    return 2;
  }
  const std::string dir = argv[1];
  Line("Distribution: " + dir);
  Program program = StartProgram(dir + "\\SETUP.EXE", "");
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
    HWND button = FindControl(window, name == "TMessageForm" ? "Yes" : "BitBtn1");
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
  ListFolder(target);
  if (HWND started = WaitForTopWindow("Adressen", 15000)) {
    Sleep(500);
    SaveScreenshot(CaptureWindow(started), "demo-program");
    Line("The installed program runs: window \"" + WindowText(started) + "\", showing:");
    Line(WindowText(FindWindowExA(started, nullptr, "Static", nullptr)));
    PostMessageA(started, WM_CLOSE, 0, 0);
  } else {
    Line("The installed program did not start");
    code = 1;
  }
  Line("Install log:");
  Line(FileText(target + "\\Install1.log"));
  Line("Registration: " + Registration());
  return Remove(target) && code == 0 ? 0 : 1;
}