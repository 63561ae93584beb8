// Where a profile keeps its program group's folder, its Start menu and its desktop.
#pragma once
#include <string>
#include <vector>

struct ShortcutFolders {
  std::string programs, startMenu, desktop;  // empty: the system has none
};

// The folders of the profile chosen in the user selection (empty: none was chosen): for the
// running user the shell's own, for the all-users profile the shell's common ones, for another
// user those below that profile (see ShortcutFolderBelow).
ShortcutFolders ShortcutFoldersOf(const std::string& profileDir);
// Every folder where a version of ours may have put the shortcuts of a profile (empty: none
// chosen): the chosen ones (ShortcutFoldersOf) and the known layouts below the profile, for the
// removal to check a logged shortcut against. The group's folders (in each programs folder)
// are added to groups as well.
std::vector<std::string> KnownShortcutFolders(const ShortcutFolders& chosen, const std::string& profileDir,
                                              const std::string& group, std::vector<std::string>& groups);
// The all-users profile: the common desktop's parent ("C:\Users\Public" since Vista), else
// "All Users" in the profiles folder.
std::string CommonProfileDir();
