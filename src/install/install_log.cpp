#include "install/install_log.h"

#include <cstddef>
#include <utility>

#include "env/ini_file.h"
#include "env/paths.h"
#include "env/settings.h"

std::string InstallLogPath() { return UpperCase(IncludeBackslash(InstallDir) + "Install1.log"); }

void LogInstalledFile(unsigned number, const std::string& targetPath) {
  const IniFile log(InstallLogPath());
  if (!ProgramName.empty()) {
    log.WriteString("General", "Name", ProgramName);
    ProgramName.clear();
  }
  log.WriteString("InstalledFiles", "File" + DecimalText(number), targetPath);
  log.WriteString("Group", "Name", GroupName);
  log.WriteString("StartMenu", "Folder", StartMenuFolder);
}

void LogUserAccount(const std::string& profileDir) {
  IniFile(InstallLogPath()).WriteString("BenutzerKonto", "UserName", profileDir);
}

namespace {
// The number of a "File<n>" key (letter case aside); 0 for any other key.
unsigned long FileNumber(const std::string& key) {
  if (key.size() < 5 || UpperCase(key.substr(0, 4)) != "FILE") return 0;
  unsigned long number = 0;
  for (size_t i = 4; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9' || number > 100000000) return 0;
    number = number * 10 + static_cast<unsigned long>(key[i] - '0');
  }
  return number;
}
}  // namespace

std::vector<std::string> ReadInstalledFiles(const std::string& logPath) {
  struct Entry {
    unsigned long number;
    std::string path;
  };
  std::vector<Entry> entries;
  for (const std::string& line : IniFile(logPath).ReadSection("Installedfiles")) {
    const size_t equals = line.find('=');
    const unsigned long number = FileNumber(line.substr(0, equals));
    if (!number || equals == std::string::npos) continue;
    // Insertion keeps equal numbers in file order; a log is nearly always in order already.
    size_t at = entries.size();
    while (at > 0 && entries[at - 1].number > number) --at;
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), {number, line.substr(equals + 1)});
  }
  std::vector<std::string> files;
  files.reserve(entries.size());
  for (Entry& entry : entries) files.push_back(std::move(entry.path));
  return files;
}
