// Libraries come from the system directory only. SETUP.EXE runs with administrator rights
// from folders that others can write to (a download folder, a share, a deployment tool's
// cache), and Windows looks for a library named without a path beside the program first:
// one planted there would run with the installer's rights.
#pragma once
#include <windows.h>

// Called before anything else loads a library. Where Windows can (8 and later, Vista and 7
// with their update), the search is kept to the system directory (SetDefaultDllDirectories),
// for the libraries the system loads on the program's behalf too. Elsewhere the current
// directory leaves the search (SetDllDirectoryA, XP SP1 and later). Then the libraries that
// the system loads for the program by name are loaded by their full path, so that such a
// later load finds them in memory.
void ProtectLibrarySearch();
// A library of the system directory, by its full path; null when it is not there.
HMODULE LoadSystemLibrary(const char* fileName);
// A function of such a library; null when the library or the function is missing.
template <typename Function>
Function SystemFunction(const char* fileName, const char* name) {
  HMODULE library = LoadSystemLibrary(fileName);
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}
