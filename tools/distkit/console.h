// The toolkit's output: the program's texts are CP1252, a Linux terminal wants UTF-8.
#pragma once
#include <string>

std::string ToConsole(const std::string& text);
// The expander speaks the installer's German; the toolkit says the same in English.
std::string InEnglish(std::string message);
