// Helpers for tests that use the real Win32 file system.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "env/deletion.h"
#include "env/handles.h"
#include "env/system_names.h"
#include "tools/driver/driver.h"

inline bool Exists(const std::string& path) { return FileAttributes(path) != INVALID_FILE_ATTRIBUTES; }

// The names a search pattern finds ("C:\\dir\\*"), but those that begin with a dot.
inline std::vector<std::string> Entries(const std::string& pattern) {
  std::vector<std::string> names;
  for (const FoundFile& found : FindFiles(pattern))
    if (found.name[0] != '.') names.push_back(found.name);
  return names;
}

// The system and the temporary folder, each ending in "\".
inline std::string SystemDir() { return SystemDirectory() + "\\"; }
inline std::string TempDir() { return TempDirectory(); }

// Folder links came with Vista; looked up so that the tests build for older targets.
inline bool MakeFolderLink(const std::string& link, const std::string& target) {
  using CreateLink = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  auto create =
      reinterpret_cast<CreateLink>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
  return create && create(link.c_str(), target.c_str(), 1 /* a folder */);
}

// A folder under C:\wintest, made empty for one test and removed after it.
class TempFolder {
 public:
  explicit TempFolder(const std::string& name) : path_("C:\\wintest\\" + name + "\\") {
    CreateDirectoryNamed("C:\\wintest");
    DeleteTree(path_);
    CreateDirectoryNamed(path_);
  }
  ~TempFolder() { DeleteTree(path_); }
  const std::string& Path() const { return path_; }  // ends in "\"
  std::string Folder(const std::string& relative) const {
    const std::string dir = path_ + relative;
    CreateDirectoryNamed(dir);
    return dir;
  }
  std::string File(const std::string& relative, const std::string& content) const {
    MakeFile(path_ + relative, content);
    return path_ + relative;
  }

 private:
  std::string path_;
};
