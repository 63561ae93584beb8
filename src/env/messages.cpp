#include "env/messages.h"

namespace {
// The top-level window holding hwnd (GetAncestor is missing on Windows 95 and NT 4).
HWND TopLevelOf(HWND hwnd) {
  while (hwnd && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}
}  // namespace

void DispatchOneMessage(MSG& msg) {
  HWND root = TopLevelOf(msg.hwnd);
  if (root && IsDialogMessageA(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool DispatchPendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    DispatchOneMessage(msg);
  }
  return true;
}
