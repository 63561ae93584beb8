#include "env/system_library.h"

#include "env/system_names.h"

namespace {
// Loaded for the program by the system, the shell and the component library, by name: the
// common controls, themes, the input method and text services, the shell's helpers and what
// the shell-link and folder-browser objects bring in. Not every Windows has each of them.
const char* const LoadedOnOurBehalf[] = {"comctl32.dll", "uxtheme.dll", "ole32.dll",   "oleaut32.dll", "shlwapi.dll",
                                         "imm32.dll",    "msctf.dll",   "version.dll", "dwmapi.dll",   "propsys.dll",
                                         "apphelp.dll",  "userenv.dll", "profapi.dll", "linkinfo.dll", "ntshrui.dll",
                                         "cscapi.dll",   "clbcatq.dll"};

constexpr DWORD SearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

HMODULE Kernel() { return GetModuleHandleA("kernel32.dll"); }
}  // namespace

HMODULE LoadSystemLibrary(const char* fileName) {
  const std::string directory = SystemDirectory();
  if (directory.empty()) return nullptr;
  const std::string path = directory + "\\" + fileName;
  // The libraries it imports in turn from the system directory too, where Windows can say so;
  // older versions refuse the flag and take the plain call.
  if (WideSystem()) {
    const std::wstring wide = Wide(path);
    if (HMODULE library = LoadLibraryExW(wide.c_str(), nullptr, SearchSystem32)) return library;
    return LoadLibraryW(wide.c_str());
  }
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? LoadLibraryA(ansi.c_str()) : nullptr;
}

void ProtectLibrarySearch() {
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  using SetDirectory = BOOL(WINAPI*)(LPCSTR);
  auto setDefault = reinterpret_cast<SetDefaultDirectories>(
      reinterpret_cast<void*>(GetProcAddress(Kernel(), "SetDefaultDllDirectories")));
  if (!setDefault || !setDefault(SearchSystem32)) {
    auto setDirectory =
        reinterpret_cast<SetDirectory>(reinterpret_cast<void*>(GetProcAddress(Kernel(), "SetDllDirectoryA")));
    if (setDirectory) setDirectory("");
  }
  // Loaded first in any case: a library of the system may load another by name on a way that
  // passes the restriction by (Wine's shell32 takes the component library so), and then finds
  // it in memory. No box about a library that this Windows lacks.
  const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  for (const char* name : LoadedOnOurBehalf) LoadSystemLibrary(name);
  SetErrorMode(mode);
}
