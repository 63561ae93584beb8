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

void IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
    throw CannotWriteError(path_);
}
