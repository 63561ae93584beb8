#include "env/windows_version.h"

#include <windows.h>

#include "env/version_name.h"

namespace {
bool QueryVersion(OSVERSIONINFOA& info) {
  ZeroMemory(&info, sizeof info);
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  return GetVersionExA(&info) != 0;
#pragma GCC diagnostic pop
}
}  // namespace

bool IsWindowsNT() {
  OSVERSIONINFOA info;
  return QueryVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool HasGlobalNamespace() {
  OSVERSIONINFOA info;
  return QueryVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
}

std::string GetWindowsVersionName() {
  OSVERSIONINFOA info;
  if (!QueryVersion(info)) return "Unknown";
  return VersionNameFor(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion);
}
