// Where things live: profiles, the Windows directory, the executable's directory.
#pragma once
#include <string>

// The folder under which the user profiles lie; "C:\Dokumente und Einstellungen" when unknown.
std::string GetProfilesDirectory();
// The profile folder for a stored ProfilesDirectory value: "%SystemDrive%" becomes the
// Windows directory's drive; a blank value gives the fixed fallback.
std::string ProfilesDirectoryFromValue(const std::string& value, const std::string& windowsDir);
// The running executable's full path.
std::string GetExePath();
// The running executable's path up to and including the last "\" or ":".
std::string GetExeDirectory();
// The Windows directory, without a trailing "\" except for a drive root.
std::string GetWindowsDir();
