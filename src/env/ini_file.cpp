#include "env/ini_file.h"

#include <windows.h>

#include <map>
#include <string_view>

#include "env/paths.h"
#include "env/system_names.h"

namespace {
constexpr size_t MaxSectionNames = 32 << 20;
}  // namespace

std::string ProfileBytes(const std::string& text) {
  if (!WideSystem()) {
    std::string ansi;
    ToSystemCodePage(text, ansi);
    return ansi;
  }
  const std::wstring wide = Wide(text);
  return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string ProfileFileStart() { return WideSystem() ? "\xFF\xFE" : ""; }

std::string ProfileText(const std::string& bytes) {
  if (bytes.size() < 2 || bytes.compare(0, 2, "\xFF\xFE") != 0) return FromSystemCodePage(bytes.c_str());
  std::wstring wide((bytes.size() - 2) / sizeof(wchar_t), L'\0');
  for (size_t k = 0; k < wide.size(); ++k)
    wide[k] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 + 2 * k]) |
                                   static_cast<unsigned char>(bytes[3 + 2 * k]) << 8);
  return FromWide(wide.data(), wide.size());
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  const SystemName s(section), k(key), d(defaultValue), p(path_);
  if (WideSystem()) {
    wchar_t buffer[1024];
    GetPrivateProfileStringW(s.wide.c_str(), k.wide.c_str(), d.wide.c_str(), buffer, 1024, p.wide.c_str());
    return FromWide(buffer);
  }
  if (!s.whole || !k.whole || !d.whole || !p.whole) return defaultValue;
  char buffer[1024];
  GetPrivateProfileStringA(s.ansi.c_str(), k.ansi.c_str(), d.ansi.c_str(), buffer, sizeof buffer, p.ansi.c_str());
  return FromSystemCodePage(buffer);
}

namespace {
// Zero-ended lines, each converted on its own so that the zeros stay where they are.
template <typename Letter, typename Convert>
std::string EachLine(const Letter* text, size_t length, Convert convert) {
  std::string lines;
  for (size_t at = 0; at < length;) {
    size_t end = at;
    while (end < length && text[end]) ++end;
    lines += convert(text + at, end - at);
    lines += '\0';
    at = end + 1;
  }
  return lines;
}

// The section's "key=value" lines, each ended by a zero; cut when they filled size letters.
std::string SectionText(const std::string& section, const std::string& path, size_t size, bool& cut) {
  if (WideSystem()) {
    std::wstring text(size, L'\0');
    const DWORD length =
        GetPrivateProfileSectionW(Wide(section).c_str(), text.data(), static_cast<DWORD>(size), Wide(path).c_str());
    cut = length + 2 >= size;
    return EachLine(text.data(), length, [](const wchar_t* line, size_t n) { return FromWide(line, n); });
  }
  const SystemName name(section), file(path);
  cut = false;
  if (!name.whole || !file.whole) return {};
  std::string text(size, '\0');
  const DWORD length =
      GetPrivateProfileSectionA(name.ansi.c_str(), text.data(), static_cast<DWORD>(size), file.ansi.c_str());
  cut = length + 2 >= size;
  return EachLine(text.data(), length,
                  [](const char* line, size_t n) { return FromSystemCodePage(std::string(line, n).c_str()); });
}
}  // namespace

// The whole section in one call: a lookup per key would read the section again for each,
// and a list of ten thousand files would take minutes.
std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  // A buffer too small comes back filled to its size less two; a cut list would leave
  // files uninstalled or undeleted, so the buffer grows until the lines fit.
  std::string text;
  for (size_t size = 65536;; size *= 4) {
    bool cut = false;
    text = SectionText(section, path_, size, cut);
    if (!cut || size >= MaxSectionNames) break;
  }
  text += '\0';
  std::vector<std::string> lines;
  std::map<std::string, std::string> first;  // a key's lookup finds its first line
  for (size_t at = 0; at < text.size() && text[at];) {
    const std::string_view line = text.data() + at;
    at += line.size() + 1;
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

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const {
  const SystemName s(section), k(key), v(value), p(path_);
  if (WideSystem())
    return WritePrivateProfileStringW(s.wide.c_str(), k.wide.c_str(), v.wide.c_str(), p.wide.c_str()) != 0;
  return s.whole && k.whole && v.whole && p.whole &&
         WritePrivateProfileStringA(s.ansi.c_str(), k.ansi.c_str(), v.ansi.c_str(), p.ansi.c_str()) != 0;
}
