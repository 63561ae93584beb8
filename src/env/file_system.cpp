#include "env/file_system.h"

#include <windows.h>

#include "env/paths.h"

#include "env/handles.h"
#include "env/system_names.h"

namespace {
DWORD AttributesOf(const std::string& path) { return FileAttributes(path); }

std::string WithoutTrailingBackslashes(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}
// The folder above path; empty at a drive ("C:\" or "C:") or a server share, which cannot be
// created.
std::string CreatableParent(const std::string& path) {
  const std::string parent = ExtractFilePath(path);
  return parent.size() > 3 && parent != path ? WithoutTrailingBackslashes(parent) : "";
}
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
  const std::string path = WithoutTrailingBackslashes(dir);
  if (path.empty() || DirectoryExists(path)) return !path.empty();
  if (const std::string parent = CreatableParent(path); !parent.empty()) ForceDirectories(parent);
  return CreateDirectoryNamed(path) || DirectoryExists(path);
}

namespace {
void AddMissingFolders(const std::string& folder, std::vector<std::string>& missing) {
  if (folder.empty() || AttributesOf(folder) != INVALID_FILE_ATTRIBUTES) return;
  AddMissingFolders(CreatableParent(folder), missing);
  missing.push_back(folder);
}
}  // namespace

std::vector<std::string> MissingFoldersAbove(const std::string& dir) {
  std::vector<std::string> missing;
  AddMissingFolders(CreatableParent(WithoutTrailingBackslashes(dir)), missing);
  return missing;
}

unsigned long long FileSize(const std::string& path) {
  const std::vector<FoundFile> found = FindFiles(path);
  return found.empty() ? 0 : found.front().size;
}

namespace {
bool Identity(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  const KernelHandle file =
      FromCreateFile(CreateFileNamed(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
  return file && GetFileInformationByHandle(file.Get(), &info);
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  if (LowerCase(a) == LowerCase(b)) return !a.empty();
  BY_HANDLE_FILE_INFORMATION first, second;
  return Identity(a, first) && Identity(b, second) && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}
