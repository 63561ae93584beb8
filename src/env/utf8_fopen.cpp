// The Windows programs built on the compiler's C runtime (the toolkit, the test programs) open
// C streams by the program's UTF-8 names, as SETUP.EXE's own runtime does (app/lean_crt.cpp):
// the runtime's narrow names are the system's code page. Alone in its file, so that a program
// with a fopen of its own never links this one.
#include <cstdio>

#include "env/system_names.h"

extern "C" std::FILE* fopen(const char* name, const char* mode) {
  return _wfopen(Wide(name).c_str(), Wide(mode).c_str());
}
