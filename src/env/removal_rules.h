// What the uninstaller may remove, decided on the texts alone: a log is a file the user may
// edit, so nothing it names is deleted unless it lies where the installer writes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// "X:\..." or "\\server\share\...", without wildcards, device prefixes, forward slashes,
// empty, "." or ".." segments.
bool IsPlainAbsolutePath(std::string_view path);
// Whether path lies below dir (letter case aside); dir itself does not count.
bool IsBelow(std::string_view path, std::string_view dir);

// Folders of the system that must never be taken for a program directory.
struct ProtectedFolders {
  std::string windows, profiles, programFiles;
};
// A directory the uninstaller may offer to delete whole: plain and absolute, not a drive
// root, not the Windows directory, above or below it, not the profiles or program-files
// folder or above them.
bool IsRealProgramDirectory(const std::string& dir, const ProtectedFolders& system);
// A logged file may go when it lies below the program directory (empty: none that is
// real) or directly in the Windows directory.
bool MayDeleteLoggedFile(const std::string& path, const std::string& programDir, const std::string& windowsDir);
// Of the folders a log says the installation made above programDir, those the removal may take
// away when they are empty: real folders above programDir; the deepest first (the log names
// the outermost first).
std::vector<std::string> FoldersToRemoveAbove(const std::vector<std::string>& logged, const std::string& programDir,
                                              const ProtectedFolders& system);
// How the log tells where an installed file came from (section "FileOrigins"): "found" when
// it was there before the installation and not this program's, so that the removal leaves
// it; "shared" when the installation counted itself among the users of a file in a shared
// folder (SharedDLLs). Empty: the installation made the file.
std::string FileOriginText(bool found, bool shared);
bool OriginSays(std::string_view origin, std::string_view word);
// A shared file's count after one more installation: a file found uncounted already had one
// user, unknown to us.
unsigned long SharedUsesAfterInstall(bool counted, unsigned long count, bool foundBefore);
// The program a registration's command starts: the quoted path at its start, else the whole
// command (as the first version registered it, unquoted).
std::string CommandProgram(const std::string& command);
// A shortcut the log names may go when it is a plain ".lnk" path directly in one of the
// folders the installation makes shortcuts in.
bool MayDeleteShortcut(const std::string& link, const std::vector<std::string>& folders);
// The registration key's name must be one key below "Uninstall".
bool IsSingleKeyName(std::string_view name);
// And one the registry takes: at most 255 UTF-16 units (name in UTF-8).
bool IsRegistryKeyName(std::string_view name);
// The profile a log names for the shortcuts must be a folder directly in the profiles folder.
bool IsProfileFolder(const std::string& dir, const std::string& profilesDir);

// The question before the whole program directory goes.
std::string DirectoryQuestionText(const std::string& dir);

// The pause after each deleted file, in ms: 700 for a few files, shorter for many, so that
// the whole loop waits about five seconds at most.
unsigned PausePerFile(size_t fileCount);

// The hidden batch file that removes the uninstaller (exe) and its folder (dir) once the
// program has ended, then each of the folders above that are empty by then, and then itself
// (batch): bounded retries, quoted paths, "%" doubled.
std::string RemovalBatchText(const std::string& exe, const std::string& dir, const std::vector<std::string>& above,
                             const std::string& batch);
