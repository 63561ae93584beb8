// The toolkit's own setup-script reader against the system's GetPrivateProfileStringA, on a
// few hundred generated scripts full of the awkward cases: both must answer alike. The scripts
// are CP1252, as distributions write them; ours reads them as the program's UTF-8.
#include "install/script_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "env/ini_file.h"
#include "env/unicode.h"
#include "tests/win/win_test_util.h"
#include "tools/driver/driver.h"

namespace {
const char* const SectionLines[] = {"[General]", "[general]", "[ General ]",    "[General",       "[General]x",
                                    "  [Items]", "[Items]",   "[programfiles]", "[ProgramFiles]", "[Ä]",
                                    "[ä]",       "[]",        "[Na]me]",        "[\tWindows\t]",  "[Windows]"};
const char* const Keys[] = {"Name", "name", " Name ", "1", "2", "01", "x", ";x", "#x", "a b", "Ä", "ä", "\tName", "", "Items", "1 "};
const char* const Values[] = {
    "Adressen", " Adressen ",    "\"Adressen\"", "'Adressen'",      "\"Adressen", "\"", "\"\"", "a=b", "", "  ", "C:\\Programme\\Adressen",
    "Grüße",    "\"a\" b \"c\"", "'x\"",         "wert ; kommentar"};
const char* const Breaks[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
const char* const Queries[] = {"General", "general", "Items", "programfiles", "Windows", "Ä", "ä", "Na]me", "Na", "Fehlt"};

std::string Line(std::mt19937& random) {
  auto pick = [&](auto& table) { return std::string(table[random() % std::size(table)]); };
  switch (random() % 10) {
    case 0:
    case 1: return pick(SectionLines);
    case 2: return ";" + pick(Keys) + "=" + pick(Values);
    case 3: return pick(Keys);  // no "="
    case 4: return pick(Keys) + "=" + std::string(1100 + random() % 20, 'v');
    case 5: return "   ";
    default: return pick(Keys) + (random() % 3 ? "=" : " = ") + pick(Values);
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c == 1)
      out += "<default>";
    else if (c >= 0x80)
      out += "<" + std::to_string(c) + ">";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\n')
      out += "\\n\n";
    else if (c == '\t')
      out += "\\t";
    else
      out += static_cast<char>(c);
  }
  return out;
}

std::string Cp1252(const std::string& utf8) {
  std::string bytes;
  Cp1252FromUtf8(utf8, bytes);
  return bytes;
}

// The system's answer for the key (the key list for none), as the program's UTF-8.
std::string SystemValue(const std::string& section, const char* key, const std::string& path, const char* fallback = "") {
  std::vector<char> buffer(key ? 1024 : 65536);
  const DWORD length = GetPrivateProfileStringA(Cp1252(section).c_str(), key ? Cp1252(key).c_str() : nullptr, fallback, buffer.data(),
                                                static_cast<DWORD>(buffer.size()), path.c_str());
  return Utf8FromCp1252(std::string(buffer.data(), length));
}

// The key names of a section as the system lists them, one string each.
std::vector<std::string> SystemKeys(const std::string& section, const std::string& path) {
  const std::string names = SystemValue(section, nullptr, path);
  std::vector<std::string> keys;
  for (size_t at = 0; at < names.size() && names[at];) {
    keys.emplace_back(names.c_str() + at);
    at += keys.back().size() + 1;
  }
  return keys;
}
}  // namespace

TEST(ScriptReader, AnswersAsTheSystemDoesOnGeneratedScripts) {
  TempFolder dir("script_reader");
  std::mt19937 random(20261207);
  int mismatches = 0;
  for (int script = 0; script < 300 && mismatches < 10; ++script) {
    std::string text;
    const int lines = 1 + static_cast<int>(random() % 25);
    const std::string breaks = Breaks[random() % std::size(Breaks)];
    for (int i = 0; i < lines; ++i) text += Line(random) + (random() % 8 ? breaks : "\r\n");
    if (random() % 4 == 0) text.resize(text.size() - 1);  // no line break at the end
    const std::string path = dir.File(std::to_string(script) + ".lst", Cp1252(text));
    const ScriptReader reader(text);
    for (const char* section : Queries) {
      for (const char* key : Keys) {
        const std::optional<ScriptEntry> ours = reader.Find(section, key);
        const std::string expected = SystemValue(section, key, path, "\x01");
        const std::string got = ours ? ours->value : "\x01";
        if (got != expected && ++mismatches <= 10)
          ADD_FAILURE() << "[" << section << "] \"" << key << "\": system \"" << Escaped(expected) << "\", ours \"" << Escaped(got)
                        << "\" in:\n"
                        << Escaped(text);
      }
      std::vector<std::string> ourKeys;
      for (const ScriptEntry& entry : reader.Section(section)) ourKeys.push_back(entry.key);
      if (ourKeys != SystemKeys(section, path) && ++mismatches <= 10) {
        std::string listed;
        for (const std::string& key : SystemKeys(section, path)) listed += "<" + Escaped(key) + ">";
        std::string mine;
        for (const std::string& key : ourKeys) mine += "<" + Escaped(key) + ">";
        ADD_FAILURE() << "keys of [" << section << "]: system " << listed << ", ours " << mine << " in:\n" << Escaped(text);
      }
      // The installer's own reading of a whole section, against a lookup of each listed key.
      std::vector<std::string> lookedUp;
      for (const std::string& key : SystemKeys(section, path)) {
        lookedUp.push_back(key + "=" + SystemValue(section, key.c_str(), path));
      }
      if (IniFile(path).ReadSection(section) != lookedUp && ++mismatches <= 10)
        ADD_FAILURE() << "IniFile::ReadSection of [" << section << "] differs in:\n" << Escaped(text);
    }
  }
  EXPECT_EQ(mismatches, 0);
}
