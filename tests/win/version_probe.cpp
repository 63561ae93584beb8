// Writes what the program would see of the Windows version into the file named by its
// argument: run under each version Wine can report.
#include <cstdio>

#include "env/windows_version.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) return 1;
  std::fprintf(out, "%s|%d", GetWindowsVersionName().c_str(), IsWindowsNT() ? 1 : 0);
  return std::fclose(out) == 0 ? 0 : 1;
}
