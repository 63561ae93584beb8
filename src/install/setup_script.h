// The setup script "Setup.lst" of the distribution: in its folder, opened anew for every read;
// or carried in a one-file download. Either is read as the profile-string functions read a
// file, its bytes CP1252 (or UTF-8 after a byte-order mark) whatever the system's code page.
#pragma once
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/script_reader.h"

class Form;
enum class TextLoad;

struct ShortcutItem {
  std::string target;  // installed name, relative to the installation directory
  std::string name;    // the shortcut's file name (without ".LNK") and description
};

// The numbered list of a section: N = the number of its lines, entry k the value of the
// key "k" (first matching line, letter case ignored); a missing number gives an empty name.
std::vector<std::string> NumberedList(const std::vector<std::string>& sectionLines);
// The checksum section's lines as a table: a file's name as it lies in the distribution,
// lower case, to its SHA-256 in lower-case hex. The first line of a name counts.
std::map<std::string, std::string> ChecksumTable(const std::vector<std::string>& sectionLines);
// An "Items" line split at its first "=", the name cut to 255 characters.
ShortcutItem SplitItem(const std::string& line);

class SetupScript {
 public:
  // The script of the distribution this program installs.
  SetupScript();
  // The script in the given folder (ending in "\"): folder + "Setup.lst".
  explicit SetupScript(const std::string& folder);
  static SetupScript FromText(const std::string& text);
  std::string Value(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  std::vector<std::string> ProgramFiles() const;  // section "programfiles"
  std::vector<std::string> WindowsFiles() const;  // section "Windows"
  std::vector<ShortcutItem> Items() const;        // section "Items", in line order
  // Section "SHA256" (ChecksumSection), which the toolkit writes; empty in an older script.
  std::map<std::string, std::string> Checksums() const;
  // The recorded SHA-256 of one file of the distribution; empty when there is none.
  std::string Checksum(const std::string& fileName) const;

 private:
  std::vector<std::string> Section(const std::string& name) const;
  ScriptReader Reader() const;
  std::string path_;
  std::optional<std::string> text_;  // the script carried in the program file, as the program's strings hold it
};

// Shows a text file of the distribution in a form's control, checked against its checksum.
TextLoad ShowDistributionText(Form& form, std::string_view control, const std::string& fileName);
