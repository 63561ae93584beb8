#include "env/wait.h"

#include <windows.h>

#include "env/messages.h"

void Pause(long ms, bool dispatch) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (dispatch) DispatchPendingMessages();
    // Unsigned difference: a wrap of the tick counter does no harm.
    const DWORD elapsed = GetTickCount() - start;
    if (ms < 0 || elapsed > static_cast<DWORD>(ms)) return;
    if (dispatch) MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
}

void Delay(long ms) { Pause(ms, true); }

namespace {
constexpr DWORD RepaintEvery = 40;  // ms
}  // namespace

bool RepaintPacer::Due() const { return !repainted_ || GetTickCount() - repaintedAt_ >= RepaintEvery; }

void RepaintPacer::Repainted() {
  repaintedAt_ = GetTickCount();
  repainted_ = true;
}
