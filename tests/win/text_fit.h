// Whether a control's text fits the room it has, judged by the pixels it inks in
// the font the window layer makes for the control at a given screen scaling.
#pragma once
#include <windows.h>

#include <string>

#include "forms/form_desc.h"

// How far text drawn in font with format reaches (the inked pixels), its lines wrapped at width.
POINT InkReach(HFONT font, const std::string& text, int width, UINT format);
// What of text does not fit room (pixels) in control c of form, drawn at ppi pixels per inch;
// "" when it fits. A tree view's room is one node's line: its height is not measured.
std::string Misfit(const FormDesc& form, const ControlDesc& c, const char* text, SIZE room, int ppi);
