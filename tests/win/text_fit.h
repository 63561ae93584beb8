// Whether a control's text fits the room it has, measured with the font the window layer
// makes for the control at a given screen scaling.
#pragma once
#include <windows.h>

#include <string>

#include "forms/form_desc.h"

// What of text does not fit room (pixels) in control c of form, drawn at ppi pixels per inch;
// "" when it fits. A tree view's room is one node's line: its height is not measured.
std::string Misfit(const FormDesc& form, const ControlDesc& c, const char* text, SIZE room, int ppi);
