// Window creation and painting for each kind of described control. Used by the window layer
// only (and by the tests that measure as it does).
#pragma once
#include <windows.h>

#include <string>

#include "ui/form.h"
#include "ui/system_window.h"

// The font a control shows: its own description, else its parent's, else the form's.
const FontDesc& EffectiveFont(const Control& control);
// The described font, its characters pixels high (a form's fonts: its Scale of the height).
// Here, so that the tests measure with it without the rest of the layer.
inline HFONT MakeFont(const FontDesc& font, int pixels) {
  return CreateFontA(-pixels, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face);
}
// Creates the control's window inside parent at the given (already scaled) bounds.
HWND CreateControlWindow(Control& control, HWND parent, const RECT& bounds, int id);
// The room text takes drawn in the control's font (see DrawnTextSize).
SIZE TextExtent(const Control& control, const std::string& text, UINT format);
// A window's place in its parent's client area.
RECT BoundsInParent(HWND hwnd);
// Resizes a self-sizing label to its text.
void AutoSizeLabel(Control& control);
bool IsContainer(ControlKind kind);
// An image's icon, centred on its ground.
void DrawImage(const Control& control, const DRAWITEMSTRUCT& item);
// One node at the tree's end for each line of text.
void AddTreeLines(HWND tree, const char* text);
// The screen's pixels per inch, which designed sizes are scaled to.
int ScreenPpi();
