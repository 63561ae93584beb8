// The example distribution's program: a window titled "Adressen" that shows where it runs
// from, so that an installation can be seen to have worked.
#include <windows.h>

#include <string>

namespace {
LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
}  // namespace

namespace {
// The help library's own line, when the installation put it where Windows finds it.
std::string LibraryLine() {
  HMODULE library = LoadLibraryA("ADRHELP.DLL");
  if (!library) return "ADRHELP.DLL nicht gefunden";
  using Version = const char*(WINAPI*)();
  auto version = reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(library, "AdrHelpVersion")));
  std::string line = version ? version() : "ADRHELP.DLL ohne AdrHelpVersion";
  FreeLibrary(library);
  return line;
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char ownPath[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
  const std::string text = std::string(ownPath) + "\r\n" + LibraryLine();
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
  HWND label = CreateWindowA("STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 16, 16, 440,
                             60, window, nullptr, instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
