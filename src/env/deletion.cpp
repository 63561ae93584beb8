#include "env/deletion.h"

#include <windows.h>

#include <vector>

#include "env/handles.h"
#include "env/paths.h"

namespace {
struct Entry {
  std::string name;
  DWORD attributes;
};

std::vector<Entry> ListEntries(const std::string& dir) {
  std::vector<Entry> entries;
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA((AddBackslash(dir) + "*.*").c_str(), &data));
  if (!find) return entries;
  do {
    entries.push_back({data.cFileName, data.dwFileAttributes});
  } while (FindNextFileA(find.Get(), &data));
  return entries;
}

bool IsDirectory(DWORD attributes) { return attributes & FILE_ATTRIBUTE_DIRECTORY; }
}  // namespace

bool ForceDeleteFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return DeleteFileA(path.c_str()) != 0;
}

// A link to a folder is removed itself; what it points to stays.
void DeleteTree(const std::string& dir) {
  const DWORD own = GetFileAttributesA(dir.c_str());
  if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveDirectoryA(dir.c_str());
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
  RemoveDirectoryA(dir.c_str());
}

bool FolderGuard::Admits(const std::string& file, const std::string& base) {
  const std::string folder = ExtractFilePath(file);
  const std::string key = base + '|' + folder;
  if (key == plain_) return true;
  plain_.clear();
  const size_t stop = AddBackslash(base).size();
  for (std::string f = folder; f.size() > stop; f = ExtractFilePath(f.substr(0, f.size() - 1))) {
    const DWORD a = GetFileAttributesA(f.substr(0, f.size() - 1).c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  }
  plain_ = key;
  return true;
}
