// Prints what the program would see of the Windows version: run under each version Wine
// can report.
#include <cstdio>

#include "env/windows_version.h"

int main() {
  std::printf("%s|%d\n", GetWindowsVersionName().c_str(), IsWindowsNT() ? 1 : 0);
  return 0;
}
