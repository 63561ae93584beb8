// std::string's members are made once for SETUP.EXE, in string_instance.cpp. In C++20 the
// library leaves them to every file that uses them, and each file's copy brought its own
// copies of the library's failure texts, which the linker cannot fold: 14 KB of the program.
#pragma once
#include <string>

extern template class std::basic_string<char>;
