#include "install/shortcut_folders.h"

#include <windows.h>
#include <shlobj.h>

#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/system_names.h"
#include "install/user_choice.h"

namespace {
// Below a profile: where today's Windows keeps them (the same in every language), then a
// German Windows of the XP era.
constexpr const char* ProgramsLayouts[] = {"AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs",
                                           "Startmenü\\Programme"};
constexpr const char* StartMenuLayouts[] = {"AppData\\Roaming\\Microsoft\\Windows\\Start Menu", "Startmenü"};
constexpr const char* DesktopLayouts[] = {"Desktop"};

std::string ShellFolder(int csidl) { return SpecialFolder(nullptr, csidl); }

std::string OwnProfileDir() {
  const std::string shell = ShellFolder(CSIDL_PROFILE);
  return shell.empty() ? IncludeBackslash(GetProfilesDirectory()) + GetLogonUserName() : shell;
}

bool SameFolder(const std::string& a, const std::string& b) {
  return SameNameIgnoringCase(IncludeBackslash(a), IncludeBackslash(b));
}

bool IsCommonProfile(const std::string& profileDir) {
  return SameFolder(profileDir, CommonProfileDir()) ||
         ExtractFileName(profileDir).find("All Users") != std::string::npos;
}

ShortcutFolders OwnFolders() {
  return {ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_STARTMENU), ShellFolder(CSIDL_DESKTOPDIRECTORY)};
}
}  // namespace

std::string CommonProfileDir() {
  const std::string desktop = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
  return desktop.empty() ? IncludeBackslash(GetProfilesDirectory()) + "All Users"
                         : desktop.substr(0, desktop.size() - ExtractFileName(desktop).size() - 1);
}

ShortcutFolders ShortcutFoldersOf(const std::string& profileDir) {
  const ShortcutFolders own = OwnFolders();
  const std::string ownProfile = OwnProfileDir();
  if (profileDir.empty() || SameFolder(profileDir, ownProfile)) return own;
  if (IsCommonProfile(profileDir)) {
    const ShortcutFolders common = {ShellFolder(CSIDL_COMMON_PROGRAMS), ShellFolder(CSIDL_COMMON_STARTMENU),
                                    ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY)};
    if (!common.programs.empty() && !common.startMenu.empty() && !common.desktop.empty()) return common;
  }
  return {ShortcutFolderBelow(profileDir, ownProfile, own.programs, ProgramsLayouts, DirectoryExists),
          ShortcutFolderBelow(profileDir, ownProfile, own.startMenu, StartMenuLayouts, DirectoryExists),
          ShortcutFolderBelow(profileDir, ownProfile, own.desktop, DesktopLayouts, DirectoryExists)};
}

std::vector<std::string> KnownShortcutFolders(const ShortcutFolders& chosen, const std::string& profileDir,
                                              const std::string& group, std::vector<std::string>& groups) {
  std::vector<std::string> programs = {chosen.programs}, folders = {chosen.startMenu, chosen.desktop};
  if (!profileDir.empty()) {
    const std::string base = IncludeBackslash(profileDir);
    for (const char* layout : ProgramsLayouts) programs.push_back(base + layout);
    for (const char* layout : StartMenuLayouts) folders.push_back(base + layout);
    for (const char* layout : DesktopLayouts) folders.push_back(base + layout);
  }
  for (const std::string& folder : programs)
    if (!folder.empty() && !group.empty()) {
      groups.push_back(IncludeBackslash(folder) + group);
      folders.push_back(groups.back());
    }
  return folders;
}
