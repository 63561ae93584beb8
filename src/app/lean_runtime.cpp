// Linked into SETUP.EXE only, ahead of the C++ runtime library: these take the place of
// the library's error reporting helpers, which would bring in the standard error classes,
// a second string implementation, printf and a name demangler (about half the file).
#include <windows.h>

#include <new>

#include "env/library_error.h"

namespace {
[[noreturn]] void Fail(const char* what) { throw LibraryError(std::string("Interner Fehler: ") + what); }
}  // namespace

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char* what) { Fail(what); }
void __throw_logic_error(const char* what) { Fail(what); }
void __throw_out_of_range(const char* what) { Fail(what); }
void __throw_out_of_range_fmt(const char* what, ...) { Fail(what); }
void __throw_invalid_argument(const char* what) { Fail(what); }
void __throw_bad_function_call() { Fail("bad function call"); }
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() {
  FatalAppExitA(0, "Setup: interner Fehler");
  ExitProcess(4);
}
}  // namespace __gnu_cxx
