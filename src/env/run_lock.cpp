#include "env/run_lock.h"

#include <windows.h>

#include "env/handles.h"
#include "env/windows_version.h"

namespace {
// Owned by the main thread, which lives as long as the run.
KernelHandle held;
}  // namespace

// The name is ASCII by its making (RunLockName), so the A functions serve every Windows.
RunLock TakeRunLock(const std::string& name) {
  const std::string global = "Global\\" + name;
  const bool system = HasGlobalNamespace();
  KernelHandle mutex(CreateMutexA(nullptr, FALSE, (system ? global : name).c_str()));
  if (!mutex && system && GetLastError() == ERROR_ACCESS_DENIED) {
    // Either the mutex exists and its maker's rights keep it from this user (another run
    // holds it), or this user may not make objects for every session: then the lock holds
    // among the runs of this session.
    KernelHandle existing(OpenMutexA(SYNCHRONIZE, FALSE, global.c_str()));
    if (existing || GetLastError() == ERROR_ACCESS_DENIED) return RunLock::Busy;
    mutex.Reset(CreateMutexA(nullptr, FALSE, name.c_str()));
  }
  if (!mutex) return GetLastError() == ERROR_ACCESS_DENIED ? RunLock::Busy : RunLock::Unavailable;
  switch (WaitForSingleObject(mutex.Get(), 0)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its owner ended without letting go: killed
      held = std::move(mutex);
      return RunLock::Held;
    case WAIT_TIMEOUT: return RunLock::Busy;
    default: return RunLock::Unavailable;
  }
}
