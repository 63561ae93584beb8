#include "transfer/work_folder.h"

#include <windows.h>

#include <vector>

#include "env/paths.h"
#include "env/pending_rename.h"
#include "env/settings.h"
#include "env/system_names.h"

namespace {
constexpr char WorkPrefix[] = "~wk";

// Wine looks for a new name through the whole folder: the kept files are spread over folders
// of this many.
constexpr unsigned KeptPerFolder = 64;

struct Made {
  std::string base, folder;  // the installation directory it was made in, and the folder
  unsigned uses = 0;
};
Made made[2];
std::vector<std::string> earlierKept;  // folders no longer in use that are still to go

std::string WithoutBackslash(const std::string& dir) { return dir.substr(0, dir.size() - 1); }
}  // namespace

std::string TemporaryName(const std::string& dir, const char* prefix) {
  static unsigned long serial = 0;
  std::string name = dir + prefix;
  for (unsigned long n = GetTickCount() ^ (++serial << 20); n; n >>= 4) name += "0123456789abcdef"[n & 15];
  return name + ".tmp";
}

const std::string& WorkFolder(WorkKind kind) {
  Made& work = made[kind == WorkKind::Kept];
  const bool full = kind == WorkKind::Kept && work.uses++ == KeptPerFolder;
  if (InstallDir.empty() || (!work.folder.empty() && work.base == InstallDir && !full)) return work.folder;
  if (full) earlierKept.push_back(work.folder);
  work = {InstallDir, "", 1};
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string name = TemporaryName(IncludeBackslash(InstallDir), WorkPrefix);
    if (CreateDirectoryNamed(name)) {
      work.folder = name + "\\";
      break;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return work.folder;
}

void RemoveWorkFolders(bool atRestart) {
  for (Made& work : made) earlierKept.push_back(work.folder);
  made[0].folder.clear();
  made[1].folder.clear();
  std::vector<std::string> left;
  for (const std::string& dir : earlierKept) {
    if (dir.empty()) continue;
    const std::string folder = WithoutBackslash(dir);
    if (!RemoveDirectoryNamed(folder) && !(atRestart && ReplaceAtRestart(folder, ""))) left.push_back(dir);
  }
  earlierKept = std::move(left);
}

bool IsTemporaryName(const std::string& name, const char* prefix) {
  const std::string lower = LowerCase(name);
  const std::string_view start(prefix);
  return lower.size() > start.size() + 4 && lower.starts_with(start) && lower.ends_with(".tmp");
}

bool IsWorkFolderName(const std::string& name) { return IsTemporaryName(name, WorkPrefix); }

namespace {
bool IsLeftWorkFile(const FoundFile& file) {
  if (file.attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  const std::string name = LowerCase(file.name);
  if (name.size() < 8 || name.size() > 11 || !name.ends_with(".tmp")) return false;
  for (size_t k = 3; k + 4 < name.size(); ++k)
    if (!((name[k] >= '0' && name[k] <= '9') || (name[k] >= 'a' && name[k] <= 'f'))) return false;
  return name.starts_with("cpy") || name.starts_with("exp") || name.starts_with("log");
}
}  // namespace

void RemoveLeftWorkFiles(const std::string& installDir) {
  const std::string dir = IncludeBackslash(installDir);
  for (const FoundFile& entry : FindFiles(dir + "*.tmp")) {
    if (IsLeftWorkFile(entry)) DeleteFileNamed(dir + entry.name);
    if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) || !IsWorkFolderName(entry.name)) continue;
    for (const FoundFile& file : FindFiles(dir + entry.name + "\\*.tmp"))
      if (IsLeftWorkFile(file)) DeleteFileNamed(dir + entry.name + "\\" + file.name);
    RemoveDirectoryNamed(dir + entry.name);
  }
}

void RemoveEmptyWorkFolderOf(const std::string& file) {
  const std::string dir = ExtractFilePath(file);
  if (dir.size() > 1 && IsWorkFolderName(ExtractFileName(WithoutBackslash(dir))))
    RemoveDirectoryNamed(WithoutBackslash(dir));
}
