// Linked into SETUP.EXE only, ahead of the thread library: the few thread primitives that the
// C++ runtime's exception support asks for, built on calls Windows 95 and NT 4 already have.
// The thread library would otherwise import functions of Windows XP and Vista
// (GetTickCount64, AddVectoredExceptionHandler, TryEnterCriticalSection), and the program
// would not even load on the older systems it is made for. SETUP.EXE starts no threads;
// these stay correct if one ever does.
#include <windows.h>

#include <cstdint>

namespace {
// A mutex word: 1 locked, anything else (0, or the static initialisers -1, -2, -3) free.
volatile LONG* Word(intptr_t* mutex) { return reinterpret_cast<volatile LONG*>(mutex); }

enum OnceState : LONG { OnceNotRun = 0, OnceRunning = 1, OnceDone = 2 };
}  // namespace

extern "C" {
int pthread_mutex_init(intptr_t* mutex, const void*) {
  *Word(mutex) = 0;
  return 0;
}

int pthread_mutex_destroy(intptr_t*) { return 0; }

int pthread_mutex_lock(intptr_t* mutex) {
  while (InterlockedExchange(Word(mutex), 1) == 1) Sleep(0);
  return 0;
}

int pthread_mutex_unlock(intptr_t* mutex) {
  InterlockedExchange(Word(mutex), 0);
  return 0;
}

// Runs func exactly once; a second caller waits until the first has finished it.
int pthread_once(long* control, void (*func)()) {
  volatile LONG* state = reinterpret_cast<volatile LONG*>(control);
  if (*state == OnceDone) return 0;
  const LONG before = InterlockedExchange(state, OnceRunning);
  if (before == OnceNotRun) {
    func();
    InterlockedExchange(state, OnceDone);
  } else if (before == OnceDone) {
    InterlockedExchange(state, OnceDone);
  } else {
    while (*state != OnceDone) Sleep(0);
  }
  return 0;
}

// Per-thread values. The destructor would run at a thread's end; the program's only thread
// ends with the process, which frees everything.
int pthread_key_create(unsigned* key, void (*)(void*)) {
  const DWORD index = TlsAlloc();
  if (index == TLS_OUT_OF_INDEXES) return 11;  // EAGAIN
  *key = index;
  return 0;
}

void* pthread_getspecific(unsigned key) { return TlsGetValue(key); }

int pthread_setspecific(unsigned key, const void* value) {
  return TlsSetValue(key, const_cast<void*>(value)) ? 0 : 22;  // EINVAL
}
}
