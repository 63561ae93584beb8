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
// Every folder below profileDir where a version of ours may have put its shortcuts: the
// folders ShortcutFoldersOf gives and the known layouts below the profile, with the group's
// folder (in each programs folder) for the removal to check a logged shortcut against.
std::vector<std::string> KnownShortcutFolders(const std::string& profileDir, const std::string& group);
// The all-users profile: the common desktop's parent ("C:\Users\Public" since Vista), else
// "All Users" in the profiles folder.
std::string CommonProfileDir();
