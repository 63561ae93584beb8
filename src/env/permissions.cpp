#include "env/permissions.h"

#include <windows.h>

#include "env/folder_security.h"
#include "env/system_library.h"
#include "env/windows_version.h"

// Looked up at run time: Windows 95 knows neither function, and a program that imports one
// would not even start there.
bool ProtectFolder(const std::string& dir) {
  using SetSecurity = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
  const auto set = IsWindowsNT() ? SystemFunction<SetSecurity>("advapi32.dll", "SetFileSecurityA") : nullptr;
  std::string descriptor = ProtectedFolderDescriptor();
  return set && set(dir.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool UsersCanWrite(const std::string& dir) {
  using GetSecurity = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
  const auto get = IsWindowsNT() ? SystemFunction<GetSecurity>("advapi32.dll", "GetFileSecurityA") : nullptr;
  if (!get) return false;
  DWORD needed = 0;
  get(dir.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
  std::string descriptor(needed, '\0');
  if (needed == 0 || !get(dir.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed)) return false;
  return DescriptorLetsUsersWrite(descriptor);
}
