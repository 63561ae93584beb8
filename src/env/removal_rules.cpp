#include "env/removal_rules.h"

#include <algorithm>

#include "env/paths.h"

namespace {
std::string_view WithoutBackslash(std::string_view path) {
  while (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  return path;
}

bool SameText(std::string_view a, std::string_view b) { return LowerCase(std::string(a)) == LowerCase(std::string(b)); }

// The length of the root part: "X:\" is 3, "\\server\share\" its whole length; 0 if none.
size_t RootLength(std::string_view path) {
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
    return 3;
  if (path.size() < 5 || path.substr(0, 2) != "\\\\") return 0;
  const size_t server = path.find('\\', 2);
  if (server == std::string_view::npos || server == 2) return 0;
  const std::string_view host = path.substr(2, server - 2);
  if (host == "." || host == "?") return 0;  // device paths
  const size_t share = path.find('\\', server + 1);
  if (share == server + 1) return 0;
  return share == std::string_view::npos ? path.size() : share + 1;
}

bool IsDriveRoot(std::string_view dir) {
  dir = WithoutBackslash(dir);
  return dir.size() <= 2 || RootLength(std::string(dir) + "\\") >= dir.size() + 1;
}
}  // namespace

bool IsPlainAbsolutePath(std::string_view path) {
  const size_t root = RootLength(path);
  if (root == 0 || path.find_first_of("*?/\"<>|") != std::string_view::npos) return false;
  if (path.find(':', 2) != std::string_view::npos) return false;  // streams, devices
  // Every segment has a name; only the last may be empty (a trailing backslash).
  std::string_view rest = path.substr(root);
  for (size_t end = rest.find('\\'); end != std::string_view::npos; end = rest.find('\\')) {
    const std::string_view segment = rest.substr(0, end);
    if (segment.empty() || segment == "." || segment == "..") return false;
    rest.remove_prefix(end + 1);
  }
  return rest != "." && rest != "..";
}

bool IsBelow(std::string_view path, std::string_view dir) {
  dir = WithoutBackslash(dir);
  if (dir.empty() || path.size() <= dir.size() + 1 || path[dir.size()] != '\\') return false;
  return SameText(path.substr(0, dir.size()), dir);
}

std::vector<std::string> FoldersToRemoveAbove(const std::vector<std::string>& logged, const std::string& programDir,
                                              const ProtectedFolders& system) {
  std::vector<std::string> folders;
  for (auto folder = logged.rbegin(); folder != logged.rend(); ++folder)
    if (IsRealProgramDirectory(*folder, system) && IsBelow(programDir, *folder)) folders.push_back(*folder);
  return folders;
}

bool IsRealProgramDirectory(const std::string& dir, const ProtectedFolders& system) {
  if (!IsPlainAbsolutePath(dir) || IsDriveRoot(dir)) return false;
  const std::string_view own = WithoutBackslash(dir);
  for (const std::string* folder : {&system.windows, &system.profiles, &system.programFiles}) {
    if (folder->empty()) continue;
    if (SameText(own, WithoutBackslash(*folder)) || IsBelow(*folder, own)) return false;
  }
  return system.windows.empty() || !IsBelow(own, system.windows);
}

bool MayDeleteLoggedFile(const std::string& path, const std::string& programDir, const std::string& windowsDir) {
  if (!IsPlainAbsolutePath(path) || path.back() == '\\') return false;
  if (!programDir.empty() && IsBelow(path, programDir)) return true;
  return !windowsDir.empty() && SameText(WithoutBackslash(ExtractFilePath(path)), WithoutBackslash(windowsDir));
}

std::string FileOriginText(bool found, bool shared) {
  return found && shared ? "found,shared" : found ? "found" : shared ? "shared" : "";
}

bool OriginSays(std::string_view origin, std::string_view word) {
  for (size_t start = 0; start <= origin.size();) {
    const size_t end = std::min(origin.find(',', start), origin.size());
    if (SameText(origin.substr(start, end - start), word)) return true;
    start = end + 1;
  }
  return false;
}

unsigned long SharedUsesAfterInstall(bool counted, unsigned long count, bool foundBefore) {
  return (counted ? count : foundBefore ? 1 : 0) + 1;
}

std::string CommandProgram(const std::string& command) {
  if (command.empty() || command[0] != '"') return command;
  const size_t end = command.find('"', 1);
  return end == std::string::npos ? std::string() : command.substr(1, end - 1);
}

bool MayDeleteShortcut(const std::string& link, const std::vector<std::string>& folders) {
  if (!IsPlainAbsolutePath(link) || link.size() < 5 || !SameText(link.substr(link.size() - 4), ".lnk")) return false;
  const std::string path = ExtractFilePath(link);
  const std::string_view folder = WithoutBackslash(path);
  for (const std::string& allowed : folders)
    if (!allowed.empty() && SameText(folder, WithoutBackslash(allowed))) return true;
  return false;
}

bool IsSingleKeyName(std::string_view name) {
  return !name.empty() && name.find('\\') == std::string_view::npos &&
         name.find_first_not_of(' ') != std::string_view::npos;
}

bool IsRegistryKeyName(std::string_view name) {
  size_t units = 0;  // a lead byte starts one unit, a four-byte sequence's two
  for (const unsigned char c : name) units += (c & 0xC0) == 0x80 ? 0 : c >= 0xF0 ? 2 : 1;
  return IsSingleKeyName(name) && units <= 255;
}

bool IsProfileFolder(const std::string& dir, const std::string& profilesDir) {
  const std::string own(WithoutBackslash(dir));
  return IsPlainAbsolutePath(own) && IsBelow(own, profilesDir) &&
         SameText(WithoutBackslash(ExtractFilePath(own)), WithoutBackslash(profilesDir));
}

std::string DirectoryQuestionText(const std::string& dir) {
  return Concat({"Soll das Programmverzeichnis ", dir,
                 " vollständig, d.h. mit evtl. von Ihnen angelegten Unterverzeichnissen und "
                 "Dateien, gelöscht werden?"});
}

unsigned PausePerFile(size_t fileCount) {
  constexpr unsigned Pause = 700, Budget = 5000;
  if (fileCount == 0) return Pause;
  const size_t share = Budget / fileCount;
  return share < Pause ? static_cast<unsigned>(share) : Pause;
}

namespace {
// cmd reads "%" in a batch file as the start of a variable.
std::string BatchLiteral(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

// rmdir takes a folder only when it is empty.
std::string RemoveFolders(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += Concat({"rmdir \"", BatchLiteral(folder), "\"\r\n"});
  return text;
}
}  // namespace

std::string RemovalBatchText(const std::string& exe, const std::string& dir, const std::vector<std::string>& above,
                             const std::string& batch) {
  const std::string p = Concat({"\"", BatchLiteral(exe), "\""});
  // About a minute of tries, one a second (ping is the only wait every Windows has).
  const std::string limit(60, 'x');
  return Concat({"@echo off\r\n",
                 "set SETUPTRIES=\r\n",
                 ":label1\r\n",
                 "del ",
                 p,
                 "\r\n",
                 "if not exist ",
                 p,
                 " goto label2\r\n",
                 "set SETUPTRIES=%SETUPTRIES%x\r\n",
                 "if \"%SETUPTRIES%\"==\"",
                 limit,
                 "\" goto label2\r\n",
                 "ping -n 2 127.0.0.1 >nul\r\n",
                 "goto label1\r\n",
                 ":label2\r\n",
                 "set SETUPTRIES=\r\n",
                 "rmdir \"",
                 BatchLiteral(dir),
                 "\"\r\n",
                 RemoveFolders(above),
                 "del \"",
                 BatchLiteral(batch),
                 "\"\r\n"});
}
