// The example distribution's help library: installed into the Windows directory, where the
// example program finds it.
#include <windows.h>

extern "C" __declspec(dllexport) const char* WINAPI AdrHelpVersion() { return "Adressen-Hilfsbibliothek 1.0"; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
