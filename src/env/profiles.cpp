#include "env/profiles.h"

#include <windows.h>

#include "env/paths.h"
#include "env/registry.h"
#include "env/system_names.h"
#include "env/windows_version.h"

std::string ProfilesDirectoryFromValue(const std::string& value, const std::string& windowsDir) {
  const std::string result = ReplaceAll(value, "%SystemDrive%", windowsDir.substr(0, 2));
  return IsBlank(result) ? "C:\\Dokumente und Einstellungen" : result;
}

std::string GetProfilesDirectory() {
  const bool nt = GetWindowsVersionName() == "Windows XP" || IsWindowsNT();
  const char* path = nt ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"
                        : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, path, false);
  const std::string value = key ? ReadRegistryString(key, "ProfilesDirectory") : std::string();
  return ProfilesDirectoryFromValue(value, GetWindowsDir());
}

std::string GetExePath() { return ModuleFileName(); }

std::string GetExeDirectory() { return ExtractFilePath(GetExePath()); }

std::string GetWindowsDir() { return WindowsDirectory(); }
