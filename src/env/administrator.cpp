#include "env/administrator.h"

#include <vector>

#include "env/handles.h"
#include "env/windows_version.h"

namespace {
bool PlatformIsNt() {
  static const bool nt = IsWindowsNT();  // determined once per process
  return nt;
}

KernelHandle OpenToken(const TokenApi& api) {
  HANDLE token = nullptr;
  if (api.openThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return KernelHandle(token);
  if (api.getLastError() != ERROR_NO_TOKEN) return KernelHandle();
  if (api.openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return KernelHandle(token);
  return KernelHandle();
}

bool QueryGroups(const TokenApi& api, HANDLE token, std::vector<BYTE>& buffer) {
  DWORD needed = 0;
  if (api.getTokenInformation(token, TokenGroups, nullptr, 0, &needed) ||
      api.getLastError() != ERROR_INSUFFICIENT_BUFFER || needed < sizeof(TOKEN_GROUPS))
    return false;
  buffer.resize(needed);
  return api.getTokenInformation(token, TokenGroups, buffer.data(), needed, &needed);
}

SidHandle AdministratorsSid() {
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                &sid))
    return SidHandle();
  return SidHandle(sid);
}

bool CountsAsAdministrator(DWORD attributes) {
  return (attributes & SE_GROUP_ENABLED) && !(attributes & SE_GROUP_USE_FOR_DENY_ONLY);
}
}  // namespace

const TokenApi& SystemTokenApi() {
  static const TokenApi api = {PlatformIsNt, OpenThreadToken, OpenProcessToken, GetTokenInformation, GetLastError};
  return api;
}

bool IsAdministrator(const TokenApi& api) {
  if (!api.isNt()) return false;
  KernelHandle token = OpenToken(api);
  if (!token) return false;
  std::vector<BYTE> buffer;
  if (!QueryGroups(api, token.Get(), buffer)) return false;
  SidHandle admins = AdministratorsSid();
  if (!admins) return false;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < groups->GroupCount; ++i)
    if (EqualSid(groups->Groups[i].Sid, admins.Get()) && CountsAsAdministrator(groups->Groups[i].Attributes))
      return true;
  return false;
}
