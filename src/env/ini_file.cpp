#include "env/ini_file.h"

#include <windows.h>

#include <map>
#include <string_view>

#include "env/paths.h"

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

// The whole section in one call: a lookup per key would read the section again for each,
// and a list of ten thousand files would take minutes.
std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  // A buffer too small comes back filled to its size less two; a cut list would leave
  // files uninstalled or undeleted, so the buffer grows until the lines fit.
  std::vector<char> text(65536);
  DWORD length = 0;
  for (;;) {
    length = GetPrivateProfileSectionA(section.c_str(), text.data(), static_cast<DWORD>(text.size()), path_.c_str());
    if (length + 2 < text.size() || text.size() >= MaxSectionNames) break;
    text.resize(text.size() * 4);
  }
  text.back() = 0;
  std::vector<std::string> lines;
  std::map<std::string, std::string> first;  // a key's lookup finds its first line
  for (DWORD at = 0; at < length && text[at];) {
    const std::string_view line = text.data() + at;
    at += static_cast<DWORD>(line.size()) + 1;
    // As the system lists the keys: a line without "=" is none (but hides a later line of its
    // name from lookups), and an empty key ends the list.
    const size_t equals = line.find('=');
    if (equals == 0) break;
    const std::string key(line.substr(0, equals));
    const bool valued = equals != std::string_view::npos;
    const std::string upper = UpperCase(key);
    auto known = first.find(upper);
    if (known == first.end()) {
      // A quoted or a long value is looked up after all: quotes and length are the system's
      // business, and such a value is rare.
      const std::string_view value = valued ? line.substr(equals + 1) : "";
      const bool plain = value.size() < 1000 && (value.empty() || (value[0] != '"' && value[0] != '\''));
      known = first.emplace(upper, plain ? std::string(value) : ReadString(section, key, "")).first;
    }
    if (valued) lines.push_back(key + "=" + known->second);
  }
  return lines;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) const {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path_.c_str()) != 0;
}
