// Window creation and painting for each kind of described control. Used by Form only.
#pragma once
#include <windows.h>

#include <string>

#include "ui/form.h"

// The font a control shows: its own description, else its parent's, else the form's.
const FontDesc& EffectiveFont(const Control& control);
HFONT MakeFont(const FontDesc& font, const Form& form);
// Creates the control's window inside parent at the given (already scaled) bounds.
HWND CreateControlWindow(Control& control, HWND parent, const RECT& bounds, int id);
// Resizes a self-sizing label to its text.
void AutoSizeLabel(Control& control);
bool IsContainer(ControlKind kind);
// An image's icon, centred on its ground.
void DrawImage(const Control& control, const DRAWITEMSTRUCT& item);
// A window's text, whatever its length.
std::string ReadWindowText(HWND hwnd);
// The screen's pixels per inch, which designed sizes are scaled to.
int ScreenPpi();
