#include "env/messages.h"

#include "env/system_names.h"

namespace {
// The top-level window holding hwnd (GetAncestor is missing on Windows 95 and NT 4).
HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}
}  // namespace

void DispatchOneMessage(MSG& msg) {
  HWND root = TopLevelOf(msg.hwnd);
  // A window of the wide functions takes typed letters whole only from the wide loop.
  const bool wide = WideSystem();
  if (root && (wide ? IsDialogMessageW(root, &msg) : IsDialogMessageA(root, &msg))) return;
  TranslateMessage(&msg);
  wide ? DispatchMessageW(&msg) : DispatchMessageA(&msg);
}

bool DispatchPendingMessages() {
  MSG msg;
  while (WideSystem() ? PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) : PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchOneMessage(msg);
  }
  return true;
}
