// The toolkit's output: the program's texts are CP1252, a Linux terminal wants UTF-8.
#pragma once
#include <string>

std::string ToConsole(const std::string& text);
