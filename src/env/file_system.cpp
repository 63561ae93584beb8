#include "env/file_system.h"

#include <windows.h>

#include "env/paths.h"

namespace {
DWORD AttributesOf(const std::string& path) { return GetFileAttributesA(path.c_str()); }
}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = AttributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& dir) {
  std::string path = dir;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.empty() || DirectoryExists(path)) return !path.empty();
  const std::string parent = ExtractFilePath(path);
  // Stop at a drive ("C:\" or "C:") or a server share: those cannot be created.
  if (parent.size() > 3 && parent != path) ForceDirectories(parent);
  return CreateDirectoryA(path.c_str(), nullptr) || DirectoryExists(path);
}
