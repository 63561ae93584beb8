// The demo: installs the example distribution through SETUP.EXE's windows as a person would,
// starts the installed program, removes it again with its uninstaller, and reports what it
// saw, with a picture of every window on the way.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "env/system_names.h"
#include "env/folders.h"
#include "env/ini_file.h"
#include "env/install_names.h"
#include "env/registry.h"
#include "install/shortcut_folders.h"
#include "forms/forms.h"
#include "tools/driver/driver.h"
#include "ui/dialogs.h"

namespace {
void Line(const std::string& text) { std::printf("%s\n", text.c_str()); }

void Picture(HWND window, const std::string& name) {
  Sleep(300);  // painted
  CreateDirectoryNamed(SCREENSHOT_DIR);
  CaptureWindow(window).SaveBmp(std::string(SCREENSHOT_DIR) + "\\" + name + ".bmp");
}

bool Exists(const std::string& path) { return FileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

std::string Registration() {
  const RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf("Adressen"), false);
  return key ? "UninstallString=" + ReadRegistryString(key, "UninstallString") : "none";
}

// The dialogs that follow one another until the program ends (its main windows aside): each
// pictured, reported and answered with the first of its buttons that is there (the options
// ticked first).
DWORD AnswerUntilEnd(const Program& program, const std::vector<std::string>& buttons,
                     const std::vector<std::string>& pictures) {
  DWORD code = 99;
  size_t shown = 0;
  while (!WaitForExit(program, 0, code)) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : TopWindows(program.pid))
            if (const std::string name = ControlName(w);
                name != "Tf_Setup" && name != "Tf_Aktion" && name != "Tf_Uninstal" && name != "Tf_Progress")
              window = w;
          return window || WaitForExit(program, 0, code);
        },
        30000);
    if (!window) break;
    Picture(window, "demo-" + (shown < pictures.size() ? pictures[shown] : ControlName(window)));
    ++shown;
    Line("  asked: " + WindowText(window));
    for (const char* box : {MoreForm::cbDesktop, MoreForm::cbStartmenu})
      SendMessageA(FindControl(window, box), BM_SETCHECK, BST_CHECKED, 0);
    for (const std::string& button : buttons)
      if (HWND found = FindControl(window, button)) {
        Press(found);
        break;
      }
    WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); });
  }
  if (!WaitForExit(program, 20000, code)) Kill(program);
  return code;
}

// The places of the shortcuts: the chosen profile's folders, or the user's own.
std::vector<std::string> ShortcutPlaces(const std::string& target) {
  const ShortcutFolders folders =
      ShortcutFoldersOf(IniFile(target + "\\" + InstallLogName).ReadString(LogUserProfile, "UserName", ""));
  return {folders.programs + "\\Adressen", folders.desktop + "\\Adressen.LNK", folders.startMenu + "\\Adressen.LNK"};
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
  Program setup = StartProgram(dir + "\\SETUP.EXE", "");
  HWND wizard = WaitForWindow(setup.pid, "Tf_Aktion");
  if (!wizard) {
    Line("the wizard did not appear");
    return 1;
  }
  // Pictured once the welcome text names the program.
  WaitUntil([&] { return WindowText(FindControl(wizard, AktionForm::Label4)).find("<Prog>") == std::string::npos; });
  Sleep(500);
  for (HWND w : TopWindows(setup.pid))
    if (ControlName(w) == "Tf_Setup") {
      Picture(w, "demo-start-window");
      Line("Start window: " + WindowText(w) + ", " + WindowText(FindControl(w, SetupForm::lbProgName)));
      HWND tree = FindControl(w, SetupForm::TreeView1);
      const std::vector<std::string> nodes = TreeNodes(tree, setup.pid);
      for (size_t i = 0; i < nodes.size(); ++i)
        Line(std::string(static_cast<int>(i) == TreeSelection(tree) ? "  > " : "    ") + nodes[i]);
    }
  Line("Wizard:");
  const char* pages[][3] = {{"", "Welcome", "demo-wizard-1-welcome"},
                            {AktionForm::bnInstal, "Info", "demo-wizard-2-info"},
                            {AktionForm::bnInstal, "BGB", "demo-wizard-3-licence"},
                            {AktionForm::bnja, "Path", "demo-wizard-4-directory"}};
  for (int i = 0; i < 4; ++i) {
    if (*pages[i][0]) Press(FindControl(wizard, pages[i][0]));
    WaitUntil([&] { return IsWindowVisible(FindControl(wizard, pages[i][1])) != FALSE; });
    Picture(wizard, pages[i][2]);
    Line("  " + WindowText(FindControl(wizard, "pnTitle" + std::to_string(i))));
  }
  const std::string target = WindowText(FindControl(wizard, AktionForm::edPathName));
  Press(FindControl(wizard, AktionForm::bnInstal));
  DWORD code =
      AnswerUntilEnd(setup, {MoreForm::BitBtn1, MessageForm::Yes}, {"dialog-user", "dialog-options", "dialog-closing"});
  Line("Installed into " + target + ", exit status " + std::to_string(code) + ":");
  for (const FoundFile& entry : FindFiles(target + "\\*"))
    if (entry.name[0] != '.') Line("  " + entry.name);
  HWND started = nullptr;
  if (WaitUntil([&] { return (started = FindWindowA(nullptr, "Adressen")) && IsWindowVisible(started); }, 15000)) {
    Picture(started, "demo-program");
    Line("The installed program runs, showing:\n" + WindowText(FindWindowExA(started, nullptr, "Static", nullptr)));
    PostMessageA(started, WM_CLOSE, 0, 0);
  } else {
    Line("The installed program did not start");
    code = 1;
  }
  Line("Install log:\n" + LogFileText(target + "\\" + InstallLogName));
  Line("Registration: " + Registration());

  const std::vector<std::string> shortcuts = ShortcutPlaces(target);
  for (const std::string& place : shortcuts) Line("  shortcut " + place + (Exists(place) ? " made" : " missing"));
  Line("Removing it with " + target + "\\Uninstal.exe:");
  Program removal = StartProgram(target + "\\Uninstal.exe", "");
  HWND window = WaitForWindow(removal.pid, "Tf_Uninstal");
  if (!window) return 1;
  Picture(window, "demo-uninstall");
  Press(FindControl(window, UninstalForm::Button1));
  const DWORD removed = AnswerUntilEnd(removal, {MessageForm::Yes, AskForm::Button1, MessageForm::OK},
                                       {"uninstall-confirm", "uninstall-directory", "uninstall-done"});
  const bool gone = WaitUntil([&] { return !Exists(target); }, 20000);
  Line("  exit status " + std::to_string(removed) + "; " + target +
       (gone ? " is gone, the uninstaller with it" : " is still there"));
  Line("  registration: " + Registration());
  const std::string dll = WindowsDirectory() + "\\ADRHELP.DLL";
  Line("  " + dll + (Exists(dll) ? " is still there" : " is gone"));
  bool shortcutsLeft = false;
  for (const std::string& place : shortcuts) {
    Line("  " + place + (Exists(place) ? " is still there" : " is gone"));
    shortcutsLeft = shortcutsLeft || Exists(place);
  }
  const bool clean = removed == 0 && gone && !Exists(dll) && !shortcutsLeft && Registration() == "none";
  return code == 0 && clean ? 0 : 1;
}
