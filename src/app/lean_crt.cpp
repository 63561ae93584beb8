// Linked into SETUP.EXE only, which starts here instead of in the compiler's C runtime and
// imports no C runtime library. msvcrt.dll is not protected as a known DLL on every Windows,
// and a library that a program imports is loaded before any of its code runs: from beside
// the program, if someone put one there. What the program and the C++ library use of the C
// library is here, over kernel32. Built without the compiler's built-in string functions, so
// that none of these loops is turned into a call of itself.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "env/system_library.h"
#include "env/system_names.h"
#include "ui/application.h"

namespace {
// Functions registered with atexit (static objects' destructors), run at the regular end.
constexpr int MaxExitFunctions = 64;
void (*exitFunctions[MaxExitFunctions])();
int exitFunctionCount = 0;

void RunStaticConstructors();
void RunExitFunctions() {
  while (exitFunctionCount > 0) exitFunctions[--exitFunctionCount]();
}

HANDLE Heap() { return GetProcessHeap(); }

// What a FILE* points to here.
struct StdioFile {
  HANDLE handle;
  bool failed;  // a read or write went wrong, as ferror reports it
};
StdioFile& Of(std::FILE* f) { return *reinterpret_cast<StdioFile*>(f); }

// Moves count bytes through ReadFile or WriteFile until all are moved or none comes (a read
// may come short before the end, on a pipe or a network file).
template <typename Call>
size_t Transfer(std::FILE* f, size_t size, size_t count, Call call) {
  if (!size || !count) return 0;
  const DWORD wanted = static_cast<DWORD>(size * count);
  DWORD total = 0, moved = 0;
  while (total < wanted) {
    if (!call(Of(f).handle, total, wanted - total, &moved)) {
      Of(f).failed = true;
      break;
    }
    if (!moved) break;
    total += moved;
  }
  return total / size;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

extern "C" {
// The linker's list of static constructors: -1, the constructors, 0.
extern void (*__CTOR_LIST__[])();

// The process starts here: first the library search is made safe, then the static objects
// are built and the program runs.
__attribute__((force_align_arg_pointer)) void SetupStartup() {
  ProtectLibrarySearch();
  RunStaticConstructors();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  // The whole command line: the program reads its arguments from it itself.
  const int status = WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), show);
  RunExitFunctions();
  ExitProcess(static_cast<UINT>(status));
}

int atexit(void (*function)()) {
  if (exitFunctionCount == MaxExitFunctions) return -1;
  exitFunctions[exitFunctionCount++] = function;
  return 0;
}

void exit(int status) {
  RunExitFunctions();
  ExitProcess(static_cast<UINT>(status));
}

// The box only where a person is there to close it; then status 4.
void abort() { Application.Fail("Setup: interner Fehler"); }

void* malloc(size_t size) { return HeapAlloc(Heap(), 0, size ? size : 1); }
void* calloc(size_t count, size_t size) {
  if (size && count > static_cast<size_t>(-1) / size) return nullptr;
  const size_t bytes = count * size;
  return HeapAlloc(Heap(), HEAP_ZERO_MEMORY, bytes ? bytes : 1);
}
void* realloc(void* p, size_t size) {
  if (!p) return malloc(size);
  return HeapReAlloc(Heap(), 0, p, size ? size : 1);
}
void free(void* p) {
  if (p) HeapFree(Heap(), 0, p);
}

void* memcpy(void* to, const void* from, size_t n) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  while (n--) *d++ = *s++;
  return to;
}
void* memmove(void* to, const void* from, size_t n) {
  auto* d = static_cast<unsigned char*>(to);
  const auto* s = static_cast<const unsigned char*>(from);
  if (d <= s || d >= s + n) return memcpy(to, from, n);
  while (n--) d[n] = s[n];
  return to;
}
void* memset(void* to, int value, size_t n) {
  auto* d = static_cast<unsigned char*>(to);
  while (n--) *d++ = static_cast<unsigned char>(value);
  return to;
}
int memcmp(const void* a, const void* b, size_t n) {
  const auto *x = static_cast<const unsigned char*>(a), *y = static_cast<const unsigned char*>(b);
  for (; n; --n, ++x, ++y)
    if (*x != *y) return *x < *y ? -1 : 1;
  return 0;
}
void* memchr(const void* p, int value, size_t n) {
  const auto* s = static_cast<const unsigned char*>(p);
  for (; n; --n, ++s)
    if (*s == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(s);
  return nullptr;
}
size_t strlen(const char* s) {
  const char* end = s;
  while (*end) ++end;
  return static_cast<size_t>(end - s);
}
int strncmp(const char* a, const char* b, size_t n) {
  for (; n; --n, ++a, ++b) {
    const auto x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x != y) return x < y ? -1 : 1;
    if (!x) return 0;
  }
  return 0;
}
int strcmp(const char* a, const char* b) { return strncmp(a, b, static_cast<size_t>(-1)); }

// Files as the expander uses them: whole binary reads ("rb") or a new file ("wb"), shared as
// the C runtime shares them. It buffers by itself, so these go straight to the system. Names are
// the program's UTF-8, as everywhere.
std::FILE* fopen(const char* name, const char* mode) {
  const bool write = mode[0] == 'w';
  HANDLE h = CreateFileNamed(name, write ? GENERIC_WRITE : GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  auto* f = static_cast<StdioFile*>(malloc(sizeof(StdioFile)));
  if (!f) {
    CloseHandle(h);
    return nullptr;
  }
  *f = {h, false};
  return reinterpret_cast<std::FILE*>(f);
}
size_t fread(void* buffer, size_t size, size_t count, std::FILE* f) {
  return Transfer(f, size, count, [buffer](HANDLE h, DWORD at, DWORD n, DWORD* moved) {
    return ReadFile(h, static_cast<char*>(buffer) + at, n, moved, nullptr);
  });
}
size_t fwrite(const void* buffer, size_t size, size_t count, std::FILE* f) {
  return Transfer(f, size, count, [buffer](HANDLE h, DWORD at, DWORD n, DWORD* moved) {
    return WriteFile(h, static_cast<const char*>(buffer) + at, n, moved, nullptr);
  });
}
int ferror(std::FILE* f) { return Of(f).failed; }
int fflush(std::FILE*) { return 0; }  // nothing is held back
int fclose(std::FILE* f) {
  const bool closed = CloseHandle(Of(f).handle);
  free(f);
  return closed ? 0 : EOF;
}
int remove(const char* name) { return DeleteFileNamed(name) ? 0 : -1; }
int rename(const char* from, const char* to) { return MoveFileNamed(from, to) ? 0 : -1; }
}  // extern "C"

namespace {
void RunStaticConstructors() {
  int count = 0;
  while (__CTOR_LIST__[count + 1]) ++count;
  while (count > 0) __CTOR_LIST__[count--]();
}
}  // namespace
