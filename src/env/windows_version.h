// Which Windows runs.
#pragma once
#include <string>

bool IsWindowsNT();
// Sessions, and with them the Global\ namespace of named objects, came with Windows 2000;
// NT 4 and the 95 family know only plain names.
bool HasGlobalNamespace();
std::string GetWindowsVersionName();
