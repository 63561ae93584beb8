// Linked into SETUP.EXE only, ahead of the C++ runtime library. The program is built without
// exceptions: these take the place of the library's error reporting helpers and of its
// allocator's failure, which would bring in the exception machinery, the standard error
// classes, printf and a name demangler (about half the file). Each of them is a failure
// nothing can go on from: the general error box, then status 4.
#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

#include "ui/application.h"

namespace {
[[noreturn]] void Fail(const char* what) { Application.Fail(std::string("Interner Fehler: ") + what); }
// No memory: nothing may be allocated on the way out, not even the message.
[[noreturn]] void OutOfMemory() { Application.Fail("Interner Fehler: zu wenig Speicher"); }

void* Allocate(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) OutOfMemory();
  return p;
}
}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace std {
void __throw_bad_alloc() { OutOfMemory(); }
void __throw_bad_array_new_length() { OutOfMemory(); }
void __throw_length_error(const char* what) { Fail(what); }
void __throw_logic_error(const char* what) { Fail(what); }
void __throw_out_of_range(const char* what) { Fail(what); }
void __throw_out_of_range_fmt(const char* what, ...) { Fail(what); }
void __throw_invalid_argument(const char* what) { Fail(what); }
void __throw_bad_function_call() { Fail("bad function call"); }
}  // namespace std

namespace __gnu_cxx {
// The box only where a person is there to close it (a quiet run waits for no one).
void __verbose_terminate_handler() { Application.Fail("Setup: interner Fehler"); }
}  // namespace __gnu_cxx
