#include "install/setup_script.h"

#include "env/ini_file.h"
#include "env/install_names.h"

SetupScript::SetupScript(const std::string& folder) : path_(folder + "Setup.lst") {}

std::string SetupScript::Value(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const {
  return IniFile(path_).ReadString(section, key, defaultValue);
}

std::vector<std::string> SetupScript::ProgramFiles() const {
  return NumberedList(IniFile(path_).ReadSection("programfiles"));
}

std::vector<std::string> SetupScript::WindowsFiles() const {
  return NumberedList(IniFile(path_).ReadSection("Windows"));
}

std::vector<ShortcutItem> SetupScript::Items() const {
  std::vector<ShortcutItem> items;
  for (const std::string& line : IniFile(path_).ReadSection("Items")) items.push_back(SplitItem(line));
  return items;
}

std::map<std::string, std::string> SetupScript::Checksums() const {
  return ChecksumTable(IniFile(path_).ReadSection(ChecksumSection));
}

std::string SetupScript::Checksum(const std::string& fileName) const {
  return IniFile(path_).ReadString(ChecksumSection, fileName, "");
}
