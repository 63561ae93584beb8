#include "ui/system_window.h"

#include <algorithm>
#include <cstdint>

#include <commctrl.h>

#include "env/system_names.h"

namespace {
// A text for the 95 family's windows: letters of no code-page letter are shown as the system's
// conversion shows them.
std::string Ansi(const std::string& text) {
  std::string ansi;
  ToSystemCodePage(text, ansi);
  return ansi;
}
}  // namespace

LRESULT CALLBACK DefaultWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return WideSystem() ? DefWindowProcW(hwnd, msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LONG_PTR WindowLongValue(HWND hwnd, int index) {
  return WideSystem() ? GetWindowLongPtrW(hwnd, index) : GetWindowLongPtrA(hwnd, index);
}

void SetWindowLongValue(HWND hwnd, int index, LONG_PTR value) {
  WideSystem() ? SetWindowLongPtrW(hwnd, index, value) : SetWindowLongPtrA(hwnd, index, value);
}

void RegisterWindowClass(const char* name, WNDPROC proc, WORD icon) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HICON shown = icon ? LoadIconA(instance, MAKEINTRESOURCEA(icon)) : nullptr;
  HCURSOR arrow = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  if (WideSystem()) {
    const std::wstring wide = Wide(name);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = shown;
    wc.hCursor = arrow;
    wc.lpszClassName = wide.c_str();
    RegisterClassW(&wc);
    return;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = shown;
  wc.hCursor = arrow;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

HWND CreateWindowNamed(DWORD exStyle, const char* className, const std::string& text, DWORD style, const RECT& bounds,
                       HWND parent, HMENU menu, void* param) {
  const int x = bounds.left, y = bounds.top, w = bounds.right - bounds.left, h = bounds.bottom - bounds.top;
  if (WideSystem())
    return CreateWindowExW(exStyle, Wide(className).c_str(), Wide(text).c_str(), style, x, y, w, h, parent, menu,
                           GetModuleHandleA(nullptr), param);
  return CreateWindowExA(exStyle, className, Ansi(text).c_str(), style, x, y, w, h, parent, menu,
                         GetModuleHandleA(nullptr), param);
}

void SetWindowTextNamed(HWND hwnd, const std::string& text) {
  WideSystem() ? SetWindowTextW(hwnd, Wide(text).c_str()) : SetWindowTextA(hwnd, Ansi(text).c_str());
}

std::string ReadWindowText(HWND hwnd) {
  if (WideSystem()) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return FromWide(text.data(), text.size());
  }
  std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return FromSystemCodePage(text.c_str());
}

LRESULT SendTextMessage(HWND hwnd, UINT msg, WPARAM wParam, const std::string& text) {
  if (WideSystem()) return SendMessageW(hwnd, msg, wParam, reinterpret_cast<LPARAM>(Wide(text).c_str()));
  return SendMessageA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(Ansi(text).c_str()));
}

std::string ComboBoxEntry(HWND combo, int index) {
  const auto at = static_cast<WPARAM>(index);
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, at, 0);
  if (length < 0) return {};
  if (WideSystem()) {
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()));
    return got < 0 ? std::string() : FromWide(text.data(), static_cast<size_t>(got));
  }
  std::string text(static_cast<size_t>(length) * 2 + 1, '\0');
  const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text.data()));
  return got < 0 ? std::string() : FromSystemCodePage(text.c_str());
}

namespace {
// One entry at the end of the tree's top level, in the structure of the tree's kind of text.
template <typename Insert, typename Text>
void InsertTreeText(HWND tree, UINT message, Text& node) {
  Insert insert = {};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = node.data();
  SendMessageA(tree, message, 0, reinterpret_cast<LPARAM>(&insert));
}
}  // namespace

void InsertTreeNode(HWND tree, const std::string& text) {
  if (WideSystem()) {
    std::wstring node = Wide(text);
    InsertTreeText<TVINSERTSTRUCTW>(tree, TVM_INSERTITEMW, node);
    return;
  }
  std::string node = Ansi(text);
  InsertTreeText<TVINSERTSTRUCTA>(tree, TVM_INSERTITEMA, node);
}

int DrawTextNamed(HDC dc, const std::string& text, RECT& rect, UINT format) {
  if (WideSystem()) {
    const std::wstring wide = Wide(text);
    return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
  }
  const std::string ansi = Ansi(text);
  return DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &rect, format);
}

SIZE DrawnTextSize(HFONT font, const std::string& text, int width, UINT format) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT laid = {0, 0, width, 0};
  DrawTextNamed(dc, text, laid, DT_CALCRECT | format);
  // Drawn black on white with room to spare on the right and below.
  const int w = laid.right + laid.right / 4 + 32, h = laid.bottom + 16;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  SIZE size = {laid.right, laid.bottom};
  if (bitmap && bits) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    auto* pixels = static_cast<uint32_t*>(bits);
    std::fill(pixels, pixels + static_cast<size_t>(w) * h, 0xFFFFFFu);
    SetTextColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);
    RECT draw = {0, 0, (format & DT_WORDBREAK) ? width : laid.right, h};
    DrawTextNamed(dc, text, draw, format | DT_NOCLIP);
    GdiFlush();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if ((pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFFu) != 0xFFFFFFu) {
          size.cx = std::max<LONG>(size.cx, x + 1);
          size.cy = std::max<LONG>(size.cy, y + 1);
        }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  return size;
}

void TextOutNamed(HDC dc, int x, int y, const std::string& text) {
  if (WideSystem()) {
    const std::wstring wide = Wide(text);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    return;
  }
  const std::string ansi = Ansi(text);
  TextOutA(dc, x, y, ansi.c_str(), static_cast<int>(ansi.size()));
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  if (WideSystem()) return MessageBoxW(owner, Wide(text).c_str(), Wide(caption).c_str(), flags);
  return MessageBoxA(owner, Ansi(text).c_str(), Ansi(caption).c_str(), flags);
}

bool GetNextMessage(MSG& msg) {
  return (WideSystem() ? GetMessageW(&msg, nullptr, 0, 0) : GetMessageA(&msg, nullptr, 0, 0)) > 0;
}
