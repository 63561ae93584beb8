// The window functions the layer calls, by UTF-8 text. On the NT family the windows are the
// wide functions' (they show and take every letter, a name typed into a field included); on
// the 95 family the A functions', whose texts are the system's code page.
#pragma once
#include <windows.h>

#include <string>

LRESULT CALLBACK DefaultWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LONG_PTR WindowLongValue(HWND hwnd, int index);
void SetWindowLongValue(HWND hwnd, int index, LONG_PTR value);
// A window class of ours; the cursor is the arrow, the icon (0: none) the program's resource.
void RegisterWindowClass(const char* name, WNDPROC proc, WORD icon);
HWND CreateWindowNamed(DWORD exStyle, const char* className, const std::string& text, DWORD style, const RECT& bounds,
                       HWND parent, HMENU menu, void* param);
void SetWindowTextNamed(HWND hwnd, const std::string& text);
std::string ReadWindowText(HWND hwnd);  // whatever its length
// A message whose lParam is a text (LB_ADDSTRING, CB_ADDSTRING).
LRESULT SendTextMessage(HWND hwnd, UINT msg, WPARAM wParam, const std::string& text);
// The combo box's entry as text.
std::string ComboBoxEntry(HWND combo, int index);
void InsertTreeNode(HWND tree, const std::string& text);
int DrawTextNamed(HDC dc, const std::string& text, RECT& rect, UINT format);
// The room text takes drawn in font with format (wrapped at width with DT_WORDBREAK): the
// laid-out size, widened to the pixels actually inked. Some font engines draw a line wider than
// the widths they report (Wine's at ten pixels, by a letter or two), and a text sized by the
// reported widths loses its last letters.
SIZE DrawnTextSize(HFONT font, const std::string& text, int width, UINT format);
void TextOutNamed(HDC dc, int x, int y, const std::string& text);
// The system's message box.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// Waits for the next message of the thread; false at WM_QUIT or on failure.
bool GetNextMessage(MSG& msg);
