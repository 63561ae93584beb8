#include "env/paths.h"

namespace {
size_t LastDelimiter(const std::string& path) { return path.find_last_of("\\:"); }
}  // namespace

std::string AddBackslash(const std::string& dir) {
  if (!dir.empty() && dir.back() == '\\') return dir;
  return dir + "\\";
}

std::string IncludeBackslash(const std::string& dir) { return dir.empty() ? dir : AddBackslash(dir); }

std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement) {
  if (pattern.empty()) return text;
  std::string result = text;
  size_t p = 0;
  while ((p = result.find(pattern, p)) != std::string::npos) {
    result.replace(p, pattern.size(), replacement);
    p += replacement.size();
  }
  return result;
}

std::string ExtractFilePath(const std::string& path) {
  size_t pos = LastDelimiter(path);
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileName(const std::string& path) {
  size_t pos = LastDelimiter(path);
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string LowerCase(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsBlank(const std::string& text) {
  for (unsigned char c : text)
    if (c > ' ') return false;
  return true;
}

std::string DecimalText(unsigned long value) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
    value /= 10;
  } while (value);
  return digits;
}

std::string Concat(std::initializer_list<std::string_view> pieces) {
  size_t length = 0;
  for (std::string_view piece : pieces) length += piece.size();
  std::string text;
  text.reserve(length);
  for (std::string_view piece : pieces) text.append(piece.data(), piece.size());
  return text;
}

namespace {
bool IsDeviceName(std::string_view name) {
  // Windows ignores the extension and trailing blanks: "nul.txt" and "CON " are devices too.
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::string upper = UpperCase(std::string(name));
  for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (upper == device) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '1' &&
         upper[3] <= '9';
}
}  // namespace

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name.find_first_not_of(". ") == std::string_view::npos) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 0x20) return false;
  return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos && !IsDeviceName(name);
}
