// The generated distribution's file names, shared by the benchmark and its floor program.
#pragma once
#include <cstdio>
#include <string>

// File i of the distribution: every second one compressed.
inline std::string FileName(int i, bool compressed) {
  char name[16];
  std::snprintf(name, sizeof name, "F%05d.DA%c", i, compressed ? '_' : 'T');
  return name;
}
