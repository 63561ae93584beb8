#include "env/pending_rename.h"

#include <windows.h>

#include "env/profiles.h"
#include "env/paths.h"
#include "env/system_names.h"
#include "env/text_file.h"

namespace {
// WININIT.INI wants short names (both files exist when it is written).
std::string ShortName(const std::string& path) { return ShortPathNamed(path); }
}  // namespace

bool IsInUseError(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

bool ReplaceAtRestart(const std::string& source, const std::string& target) {
  const DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (target.empty() ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (MoveFileExNamed(source, target, flags)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  const std::string ini = IncludeBackslash(GetWindowsDir()) + "WININIT.INI";
  const std::string line = (target.empty() ? std::string("NUL") : ShortName(target)) + "=" + ShortName(source);
  return WriteFileBytes(ini, WithRenameLine(ReadFileBytes(ini).value_or(""), line));
}
