#include "env/ini_file.h"

#include <windows.h>

#include "env/library_error.h"

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  char buffer[1024];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                           sizeof buffer, path_.c_str());
  return buffer;
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  char names[8192];
  const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", names, sizeof names,
                                                path_.c_str());
  std::vector<std::string> lines;
  for (DWORD at = 0; at < length && names[at];) {
    const std::string key = names + at;
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
