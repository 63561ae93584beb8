// The lock that keeps two runs for one program apart: a named mutex the run owns until its
// process ends, so that a killed run never blocks the next one.
#pragma once
#include <string>

enum class RunLock {
  Held,        // this run has it (perhaps left by a run that was killed)
  Busy,        // another run has it
  Unavailable  // the system made no lock (the run goes on without one; the record says why)
};
// Takes the lock of the given name (RunLockName) for the rest of the process: for every
// session of the machine from Windows 2000 on, else under the plain name.
RunLock TakeRunLock(const std::string& name);
