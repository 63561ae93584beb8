#include "env/profiles.h"

#include <windows.h>

#include "env/paths.h"
#include "env/registry.h"
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

std::string GetExePath() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return std::string(buffer, length);
}

std::string GetExeDirectory() { return ExtractFilePath(GetExePath()); }

std::string GetWindowsDir() {
  char buffer[144];
  const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  return length < sizeof buffer ? std::string(buffer, length) : std::string();
}
