#include "env/ini_file.h"

#include <windows.h>

#include "env/library_error.h"

namespace {
constexpr size_t MaxSectionNames = 32 << 20;
}  // namespace

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  char buffer[1024];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                           sizeof buffer, path_.c_str());
  return buffer;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  // A buffer too small comes back filled to its size less two; a cut list would leave
  // files uninstalled or undeleted, so the buffer grows until the names fit.
  std::vector<char> names(8192);
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(),
                                      static_cast<DWORD>(names.size()), path_.c_str());
    if (length + 2 < names.size() || names.size() >= MaxSectionNames) break;
    names.resize(names.size() * 4);
  }
  names.back() = 0;
  std::vector<std::string> lines;
  for (DWORD at = 0; at < length && names[at];) {
    const std::string key = names.data() + at;
    lines.push_back(key + "=" + ReadString(section, key, ""));
    at += static_cast<DWORD>(key.size()) + 1;
  }
  return lines;
}

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw CannotWriteError(path_);
}
