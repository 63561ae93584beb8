#include "env/pending_rename.h"

#include <windows.h>

#include "env/profiles.h"
#include "env/paths.h"
#include "env/text_file.h"

namespace {
// WININIT.INI wants short names; a file that does not exist yet keeps its folder's.
std::string ShortName(const std::string& path) {
  char shortPath[MAX_PATH];
  const DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n > 0 && n < sizeof shortPath) return shortPath;
  const std::string dir = ExtractFilePath(path);
  const DWORD d = dir.empty() ? 0 : GetShortPathNameA(dir.c_str(), shortPath, sizeof shortPath);
  return d > 0 && d < sizeof shortPath ? IncludeBackslash(shortPath) + ExtractFileName(path) : path;
}
}  // namespace

bool ReplaceAtRestart(const std::string& source, const std::string& target) {
  const DWORD flags = MOVEFILE_DELAY_UNTIL_REBOOT | (target.empty() ? 0 : MOVEFILE_REPLACE_EXISTING);
  if (MoveFileExA(source.c_str(), target.empty() ? nullptr : target.c_str(), flags)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  const std::string ini = IncludeBackslash(GetWindowsDir()) + "WININIT.INI";
  const std::string line = (target.empty() ? std::string("NUL") : ShortName(target)) + "=" + ShortName(source);
  return WriteFileBytes(ini, WithRenameLine(ReadFileBytes(ini).value_or(""), line));
}
