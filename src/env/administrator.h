// Whether the user runs with the rights of the local Administrators group.
#pragma once
#include <windows.h>

// The token calls IsAdministrator makes; tests put failing or restricted tokens in here.
struct TokenApi {
  bool (*isNt)();
  BOOL(WINAPI* openThreadToken)(HANDLE thread, DWORD access, BOOL openAsSelf, PHANDLE token);
  BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, PHANDLE token);
  BOOL(WINAPI* getTokenInformation)
  (HANDLE token, TOKEN_INFORMATION_CLASS kind, LPVOID buffer, DWORD size, PDWORD needed);
  DWORD(WINAPI* getLastError)();
};

const TokenApi& SystemTokenApi();

// Counts the Administrators group only where it is enabled, not where it is kept for
// deny only: a restricted token cannot write where an administrator can.
bool IsAdministrator(const TokenApi& api = SystemTokenApi());
