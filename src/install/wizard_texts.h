// The install wizard's decisions and message texts, free of Win32 so they can be tested anywhere.
#pragma once
#include <string>

// On an NT-family system without administrator rights the wizard adds its advice.
bool IsLimitedNtUser(const std::string& versionName, bool isAdministrator);
// The advice shown at the start when the default directory's parent cannot be written.
std::string AdministratorAdviceText(const std::string& programName, const std::string& versionName,
                                    const std::string& defaultPath);
// The welcome text with its first "<Prog>" replaced by the program's name.
std::string ReplaceProgPlaceholder(const std::string& text, const std::string& programName);
// A drive root (or less) is refused as installation directory.
bool IsMainDirectory(const std::string& path);
// What quiet mode accepts without a person to ask: "X:\..." or "\\server\share\...", not a
// drive root, nothing relative that would depend on where the run was started.
bool IsFullDirectoryPath(const std::string& path);
// A full directory path as Windows will name it, so that the log, the registration and the
// removal all name it alike: separators single, "." and ".." resolved, a trailing backslash
// and the last folder's trailing dots and blanks gone. Empty where Windows would alter the
// name of a folder on the way (one that ends in a dot or a blank) or ".." climbs above the
// drive or share; any other path as it is.
std::string CanonicalDirectory(const std::string& path);
std::string MainDirectoryText();
std::string CreateDirectoryQuestion();
// The warning for a directory that could not be created or written.
std::string DirectoryWarningText(const std::string& path, bool limitedNtUser);
// The directory proposed instead: profiles folder\logon name\last component of path.
std::string ProfileProposal(const std::string& profilesDir, const std::string& logonName, const std::string& path);
// The refusal of a directory that holds another program's installation: its removal would
// take this program's files, or this one's that program's.
std::string OtherProgramText(const std::string& path, const std::string& otherProgram);
// The warning before an administrator installs into a directory every user may change.
std::string OpenDirectoryText(const std::string& path);
