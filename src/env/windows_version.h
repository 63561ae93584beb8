// Which Windows runs.
#pragma once
#include <string>

bool IsWindowsNT();
std::string GetWindowsVersionName();
