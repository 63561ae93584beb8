// Every window we create carries its designed name in this window property, as a global
// atom, so that a test driver in another process can find it.
#pragma once

inline constexpr char ControlNameProperty[] = "SetupControlName";
