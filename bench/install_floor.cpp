// The floor of an installation: for each file of the benchmark's distribution what no
// installer can leave out. A plain file is copied to a temporary name in the target
// directory, one log line is written, and the file is moved into place; a compressed file is
// expanded by our expander, which does the same. install_bench starts and times it as it
// does SETUP.EXE. With "delete", a bare loop deletes those files again, the floor of a
// removal. Usage: install_floor DIST COUNT [delete] (DIST ends in "\\").
#include <windows.h>

#include <cstdlib>
#include <string>

#include "bench/bench_files.h"
#include "codec/expander.h"
#include "codec/name_mapping.h"
#include "env/handles.h"
#include "env/paths.h"

// A windows program like SETUP.EXE, so that both start alike.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc != 3 && __argc != 4) return 2;
  const std::string dist = __argv[1], target = dist + "floor\\";
  const int count = std::atoi(__argv[2]);
  if (__argc == 4) {
    // By the names as an install log has them, lower case: any uninstaller of such a log
    // pays what the system asks for a name in another letter case (Wine searches the folder).
    for (int i = 1; i <= count; ++i)
      if (!DeleteFileA(LowerCase(target + MapCompressedName(FileName(i, i % 2 == 0))).c_str())) return 1;
    return 0;
  }
  CreateDirectoryA(target.c_str(), nullptr);
  KernelHandle log = FromCreateFile(CreateFileA((target + "floor.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  for (int i = 1; i <= count; ++i) {
    const std::string name = FileName(i, i % 2 == 0), final = target + MapCompressedName(name);
    const auto record = [&] {
      const std::string line = "File" + std::to_string(i) + "=" + final + "\r\n";
      DWORD written = 0;
      return WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != 0;
    };
    if (IsCompressedName(name)) {
      if (!ExpandFile(dist + name, final, target,
                      [&](const std::string&) { return record() ? Placement::Move : Placement::Refuse; }))
        return 1;
      continue;
    }
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(target.c_str(), "cpy", 0, temporary) || !CopyFileA((dist + name).c_str(), temporary, FALSE))
      return 1;
    if (!record() || !MoveFileExA(temporary, final.c_str(), MOVEFILE_REPLACE_EXISTING)) return 1;
  }
  return 0;
}
