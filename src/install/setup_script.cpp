#include "install/setup_script.h"

#include "env/install_names.h"
#include "env/paths.h"
#include "env/text_file.h"
#include "env/unicode.h"
#include "transfer/distribution.h"
#include "ui/form.h"

SetupScript::SetupScript() : path_(DistributionDir() + "Setup.lst") {
  if (CarriesDistribution()) text_.emplace(DistributionText(ReadFileBytes(DistributionFile("Setup.lst")).value_or("")));
}

SetupScript::SetupScript(const std::string& folder) : path_(folder + "Setup.lst") {}

SetupScript SetupScript::FromText(const std::string& text) {
  SetupScript script("");
  script.text_.emplace(DistributionText(text));
  return script;
}

// A script in a folder is read anew for every question, by our own reader: the system's profile
// functions would read its CP1252 in the system's code page, and a Greek Windows would install
// other names than the script's.
ScriptReader SetupScript::Reader() const {
  return ScriptReader(text_ ? *text_ : DistributionText(ReadFileBytes(FileSpan{path_}).value_or("")));
}

std::vector<std::string> SetupScript::Section(const std::string& name) const {
  std::vector<std::string> lines;
  for (const ScriptEntry& entry : Reader().Section(name)) lines.push_back(entry.key + "=" + entry.value);
  return lines;
}

std::string SetupScript::Value(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  const std::optional<ScriptEntry> entry = Reader().Find(section, key);
  return entry ? entry->value : defaultValue;
}

std::vector<std::string> SetupScript::ProgramFiles() const { return NumberedList(Section("programfiles")); }

std::vector<std::string> SetupScript::WindowsFiles() const { return NumberedList(Section("Windows")); }

std::vector<ShortcutItem> SetupScript::Items() const {
  std::vector<ShortcutItem> items;
  for (const std::string& line : Section("Items")) items.push_back(SplitItem(line));
  return items;
}

std::map<std::string, std::string> SetupScript::Checksums() const { return ChecksumTable(Section(ChecksumSection)); }

std::string SetupScript::Checksum(const std::string& fileName) const { return Value(ChecksumSection, fileName, ""); }

TextLoad ShowDistributionText(Form& form, std::string_view control, const std::string& fileName) {
  return form.SetTextFromFile(control, DistributionFile(fileName), DistributionDir() + fileName,
                              SetupScript().Checksum(fileName));
}
