#include "env/text_file.h"

#include <utility>

#include <windows.h>

#include "env/handles.h"

std::optional<std::string> LoadTextFile(const std::string& path, std::string* raw) {
  KernelHandle file = FromCreateFile(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                 nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[32768];
  DWORD got = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 16);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      continue;
    }
    text += c;
  }
  if (raw) *raw = std::move(bytes);
  return text;
}
