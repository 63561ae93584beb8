#include "env/deletion.h"

#include <windows.h>

#include <vector>

#include "env/handles.h"
#include "env/paths.h"
#include "env/system_names.h"

namespace {
struct Entry {
  std::string name;
  DWORD attributes;
};

std::vector<Entry> ListEntries(const std::string& dir) {
  std::vector<Entry> entries;
  for (const FoundFile& found : FindFiles(AddBackslash(dir) + "*.*")) entries.push_back({found.name, found.attributes});
  return entries;
}

bool IsDirectory(DWORD attributes) { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
}  // namespace

bool ForceDeleteFile(const std::string& path) {
  const DWORD attributes = FileAttributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesNamed(path, attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileNamed(path);
}

// A link to a folder is removed itself; what it points to stays.
void DeleteTree(const std::string& dir) {
  const DWORD own = FileAttributes(dir);
  if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveDirectoryNamed(dir);
    return;
  }
  const std::vector<Entry> entries = ListEntries(dir);
  for (const Entry& e : entries)
    if (!IsDirectory(e.attributes)) ForceDeleteFile(AddBackslash(dir) + e.name);
  for (const Entry& e : entries) {
    if (!IsDirectory(e.attributes) || e.name[0] == '.') continue;
    if (e.attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
    DeleteTree(AddBackslash(dir) + e.name);
  }
  RemoveDirectoryNamed(dir);
}

bool FolderGuard::Admits(const std::string& file, const std::string& base) {
  const std::string folder = ExtractFilePath(file);
  const std::string key = base + '|' + folder;
  if (key == plain_) return true;
  plain_.clear();
  const size_t stop = AddBackslash(base).size();
  for (std::string f = folder; f.size() > stop; f = ExtractFilePath(f.substr(0, f.size() - 1))) {
    const DWORD a = FileAttributes(f.substr(0, f.size() - 1));
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  }
  plain_ = key;
  return true;
}
