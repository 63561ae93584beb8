#include "env/text_file.h"

#include <utility>

#include <windows.h>

#include "env/handles.h"
#include "env/system_names.h"

HANDLE OpenSpan(const FileSpan& span, KernelHandle& opened, DWORD flags) {
  if (!span.handle)
    opened = FromCreateFile(CreateFileNamed(span.path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, flags));
  HANDLE file = span.handle ? static_cast<HANDLE>(span.handle) : opened.Get();
  if (!file || SetFilePointer(file, static_cast<LONG>(span.offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return nullptr;
  return file;
}

std::optional<std::string> ReadFileBytes(const FileSpan& span) {
  KernelHandle opened;
  HANDLE file = OpenSpan(span, opened);
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[32768];
  DWORD got = 0;
  for (uint32_t left = span.size; left; left -= got) {
    if (!ReadFile(file, buffer, left < sizeof buffer ? left : sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return span.size == UINT32_MAX ? std::optional<std::string>(bytes) : std::nullopt;
    bytes.append(buffer, got);
  }
  return bytes;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, bool onDisk) {
  KernelHandle file = FromCreateFile(CreateFileNamed(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size() && (!onDisk || FlushFileBuffers(file.Get()));
}

std::optional<std::string> LoadTextFile(const FileSpan& file, std::string* raw) {
  std::optional<std::string> read = ReadFileBytes(file);
  if (!read) return std::nullopt;
  const std::string& bytes = *read;
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
  if (raw) *raw = std::move(*read);
  return text;
}
