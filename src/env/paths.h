// Directory-name and text helpers. Portable: no Win32 here.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// Appends "\" unless the text already ends in one.
std::string AddBackslash(const std::string& dir);
// As AddBackslash, but an empty text stays empty.
std::string IncludeBackslash(const std::string& dir);
// Replaces every occurrence of pattern, left to right; inserted text is not searched again.
std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement);
// Everything up to and including the last "\" or ":" (empty when there is none).
std::string ExtractFilePath(const std::string& path);
// Everything after the last "\" or ":".
std::string ExtractFileName(const std::string& path);
// ASCII-only case changes, as the program compares names with them.
std::string UpperCase(std::string text);
std::string LowerCase(std::string text);
// True when the text is empty or holds only blanks and control characters.
bool IsBlank(const std::string& text);
// A number in decimal, without the C library's formatting machinery.
std::string DecimalText(unsigned long value);
// The pieces joined in order: one loop instead of a chain of temporary strings.
std::string Concat(std::initializer_list<std::string_view> pieces);
// One entry of a folder, named so that Windows cannot take it for anything else: not empty,
// at most 255 characters, no folder part, drive, wildcard or control character, not "." or
// "..", and no device name (CON, NUL, COM1, ...) whatever its extension.
bool IsPlainFileName(std::string_view name);
