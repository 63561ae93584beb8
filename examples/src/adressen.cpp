// The example distribution's program: a window titled "Adressen" that shows where it runs
// from, so that an installation can be seen to have worked.
#include <windows.h>

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char ownPath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "Adressen";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowA("Adressen", "Adressen", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 140, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  HWND text = CreateWindowA("STATIC", ownPath, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 16, 16, 440,
                            60, window, nullptr, instance, nullptr);
  SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
