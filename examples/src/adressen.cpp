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

namespace {
// Appends the help library's own line, when the installation put it where Windows finds it.
void AppendLibraryLine(char* text, int size) {
  HMODULE library = LoadLibraryA("ADRHELP.DLL");
  using Version = const char*(WINAPI*)();
  auto version =
      library ? reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(library, "AdrHelpVersion"))) : nullptr;
  const char* line = !library ? "ADRHELP.DLL nicht gefunden" : version ? version() : "ADRHELP.DLL ohne AdrHelpVersion";
  if (lstrlenA(text) + lstrlenA(line) < size) lstrcatA(text, line);
  if (library) FreeLibrary(library);
}
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char text[2 * MAX_PATH] = {};
  GetModuleFileNameA(nullptr, text, MAX_PATH);
  lstrcatA(text, "\r\n");
  AppendLibraryLine(text, sizeof text);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "Adressen";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowA("Adressen", "Adressen", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 140,
                              nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  HWND label = CreateWindowA("STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 16, 16, 440, 60, window, nullptr,
                             instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  ShowWindow(window, show);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
