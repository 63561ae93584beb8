// Text encodings, portable: the program's strings are UTF-8; the system's wide functions want
// UTF-16, and the distribution's texts are CP1252 unless they begin with a UTF-8 byte-order mark.
#pragma once
#include <string>
#include <string_view>

// A byte that is no part of a well-formed sequence, and a lone surrogate, become U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);
std::string Utf8FromCp1252(std::string_view cp1252);
// False when a letter of the text has no CP1252 byte.
bool Cp1252FromUtf8(std::string_view utf8, std::string& cp1252);
// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view bytes);

inline constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
// A text of the distribution as the program's strings hold it: after a UTF-8 byte-order mark
// UTF-8 (the mark dropped), else CP1252, whatever the system's code page.
std::string DistributionText(std::string_view bytes);
// A text as a distribution file whose bytes begin as given holds it: UTF-8 behind a byte-order
// mark, else CP1252; false when CP1252 has no byte for a letter of it.
bool InDistributionEncoding(std::string_view fileBytes, std::string_view text, std::string& bytes);
