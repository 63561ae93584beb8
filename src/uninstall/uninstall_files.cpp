#include "uninstall/uninstall_files.h"

#include <windows.h>

#include "env/paths.h"
#include "env/profiles.h"
#include "env/system_names.h"

void ListTree(const std::string& mask, bool withSubdirectories, std::vector<std::string>& list) {
  const std::string folder = AddBackslash(ExtractFilePath(mask));
  for (const FoundFile& found : FindFiles(mask))
    if (found.name[0] != '.') list.push_back(folder + found.name);
  if (!withSubdirectories) return;
  const std::string pattern = ExtractFileName(mask);
  std::vector<std::string> subfolders;
  for (const FoundFile& found : FindFiles(folder + "*.*")) {
    const DWORD a = found.attributes;
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && found.name[0] != '.' &&
        !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT)))
      subfolders.push_back(found.name);
  }
  for (const std::string& name : subfolders) ListTree(folder + name + "\\" + pattern, true, list);
}

bool HoldsOnly(const std::string& dir, const std::vector<std::string>& files) {
  const std::string folder = AddBackslash(dir);
  for (const FoundFile& found : FindFiles(folder + "*.*")) {
    const std::string& name = found.name;
    if (name == "." || name == "..") continue;
    const DWORD a = found.attributes;
    if (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
      if (!HoldsOnly(folder + name, files)) return false;
      continue;
    }
    bool named = false;
    for (const std::string& file : files) named = named || LowerCase(file) == LowerCase(folder + name);
    if (!named) return false;
  }
  return true;
}

std::string MakeTempFileName() {
  // The Windows directory's TEMP where the user's own cannot be used (a folder the system names
  // only by a near name on the 95 family does not exist).
  const std::string name = TempFileNamed(TempDirectory(), "$");
  return name.empty() ? TempFileNamed(IncludeBackslash(GetWindowsDir()) + "TEMP", "$") : name;
}
