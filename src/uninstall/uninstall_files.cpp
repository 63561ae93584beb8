#include "uninstall/uninstall_files.h"

#include <windows.h>

#include "env/handles.h"
#include "env/paths.h"

void ListTree(const std::string& mask, bool withSubdirectories, std::vector<std::string>& list) {
  const std::string folder = AddBackslash(ExtractFilePath(mask));
  WIN32_FIND_DATAA found;
  {
    FindHandle find(FindFirstFileA(mask.c_str(), &found));
    if (find) do {
        if (found.cFileName[0] != '.') list.push_back(folder + found.cFileName);
      } while (FindNextFileA(find.Get(), &found));
  }
  if (!withSubdirectories) return;
  const std::string pattern = ExtractFileName(mask);
  std::vector<std::string> subfolders;
  {
    FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &found));
    if (find) do {
        const DWORD a = found.dwFileAttributes;
        if ((a & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.' &&
            !(a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT)))
          subfolders.push_back(found.cFileName);
      } while (FindNextFileA(find.Get(), &found));
  }
  for (const std::string& name : subfolders) ListTree(folder + name + "\\" + pattern, true, list);
}

bool HoldsOnly(const std::string& dir, const std::vector<std::string>& files) {
  const std::string folder = AddBackslash(dir);
  WIN32_FIND_DATAA found;
  FindHandle find(FindFirstFileA((folder + "*.*").c_str(), &found));
  if (!find) return true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const DWORD a = found.dwFileAttributes;
    if (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
      if (!HoldsOnly(folder + name, files)) return false;
      continue;
    }
    bool named = false;
    for (const std::string& file : files) named = named || LowerCase(file) == LowerCase(folder + name);
    if (!named) return false;
  } while (FindNextFileA(find.Get(), &found));
  return true;
}

std::string MakeTempFileName() {
  char dir[MAX_PATH] = {};
  char name[MAX_PATH + 1] = {};
  GetTempPathA(sizeof dir, dir);
  GetTempFileNameA(dir, "$", 0, name);
  return name;
}
