// The toolkit's own setup-script reader against the system's GetPrivateProfileStringA, on a
// few hundred generated scripts full of the awkward cases: both must answer alike.
#include "install/script_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "env/ini_file.h"
#include "tests/win/win_test_util.h"
#include "tools/driver/driver.h"

namespace {
const char* const SectionLines[] = {
    "[General]", "[general]", "[ General ]", "[General", "[General]x", "  [Items]", "[Items]",
    "[programfiles]", "[ProgramFiles]", "[Ä]", "[ä]", "[]", "[Na]me]", "[\tWindows\t]", "[Windows]"};
const char* const Keys[] = {"Name", "name", " Name ", "1", "2", "01", "x", ";x", "#x", "a b",
                            "Ä", "ä", "\tName", "", "Items", "1 "};
const char* const Values[] = {"Adressen", " Adressen ", "\"Adressen\"", "'Adressen'", "\"Adressen",
                              "\"", "\"\"", "a=b", "", "  ", "C:\\Programme\\Adressen", "Grüße",
                              "\"a\" b \"c\"", "'x\"", "wert ; kommentar"};
const char* const Breaks[] = {"\r\n", "\n", "\r", "\r\r\n", "\n\r"};
const char* const Queries[] = {"General", "general", "Items", "programfiles", "Windows", "Ä", "ä",
                               "Na]me", "Na", "Fehlt"};

std::string Line(std::mt19937& random) {
  auto pick = [&](auto& table) { return std::string(table[random() % std::size(table)]); };
  switch (random() % 10) {
    case 0:
    case 1:
      return pick(SectionLines);
    case 2:
      return ";" + pick(Keys) + "=" + pick(Values);
    case 3:
      return pick(Keys);  // no "="
    case 4:
      return pick(Keys) + "=" + std::string(1100 + random() % 20, 'v');
    case 5:
      return "   ";
    default:
      return pick(Keys) + (random() % 3 ? "=" : " = ") + pick(Values);
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const unsigned char c : text) {
    if (c == 1) out += "<default>";
    else if (c >= 0x80) out += "<" + std::to_string(c) + ">";
    else if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n\n";
    else if (c == '\t') out += "\\t";
    else out += static_cast<char>(c);
  }
  return out;
}

// The key names of a section as the system lists them, one string each.
std::vector<std::string> SystemKeys(const std::string& section, const std::string& path) {
  std::vector<char> names(65536);
  const DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", names.data(),
                                                static_cast<DWORD>(names.size()), path.c_str());
  std::vector<std::string> keys;
  for (DWORD at = 0; at < length && names[at];) {
    keys.emplace_back(names.data() + at);
    at += static_cast<DWORD>(keys.back().size()) + 1;
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
    const std::string path = dir.File(std::to_string(script) + ".lst", text);
    const ScriptReader reader(text);
    for (const char* section : Queries) {
      for (const char* key : Keys) {
        char buffer[1024];
        GetPrivateProfileStringA(section, key, "\x01", buffer, sizeof buffer, path.c_str());
        const std::optional<ScriptEntry> ours = reader.Find(section, key);
        const std::string expected = buffer;
        const std::string got = ours ? ours->value : "\x01";
        if (got != expected && ++mismatches <= 10)
          ADD_FAILURE() << "[" << section << "] \"" << key << "\": system \"" << Escaped(expected)
                        << "\", ours \"" << Escaped(got) << "\" in:\n" << Escaped(text);
      }
      std::vector<std::string> ourKeys;
      for (const ScriptEntry& entry : reader.Section(section)) ourKeys.push_back(entry.key);
      if (ourKeys != SystemKeys(section, path) && ++mismatches <= 10) {
        std::string listed;
        for (const std::string& key : SystemKeys(section, path)) listed += "<" + Escaped(key) + ">";
        std::string mine;
        for (const std::string& key : ourKeys) mine += "<" + Escaped(key) + ">";
        ADD_FAILURE() << "keys of [" << section << "]: system " << listed << ", ours " << mine
                      << " in:\n" << Escaped(text);
      }
      // The installer's own reading of a whole section, against a lookup of each listed key.
      std::vector<std::string> lookedUp;
      for (const std::string& key : SystemKeys(section, path)) {
        char buffer[1024];
        GetPrivateProfileStringA(section, key.c_str(), "", buffer, sizeof buffer, path.c_str());
        lookedUp.push_back(key + "=" + buffer);
      }
      if (IniFile(path).ReadSection(section) != lookedUp && ++mismatches <= 10)
        ADD_FAILURE() << "IniFile::ReadSection of [" << section << "] differs in:\n" << Escaped(text);
    }
  }
  EXPECT_EQ(mismatches, 0);
}
