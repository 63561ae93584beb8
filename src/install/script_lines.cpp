// The setup script's lists, as text: portable, so that they are tested anywhere.
#include "env/paths.h"
#include "install/setup_script.h"

std::vector<std::string> NumberedList(const std::vector<std::string>& sectionLines) {
  std::vector<std::string> names;
  for (size_t k = 1; k <= sectionLines.size(); ++k) {
    const std::string key = LowerCase(DecimalText(k));
    std::string name;
    for (const std::string& line : sectionLines) {
      const size_t eq = line.find('=');
      if (LowerCase(line.substr(0, eq)) == key) {
        name = line.substr(eq + 1);
        break;
      }
    }
    names.push_back(name);
  }
  return names;
}

ShortcutItem SplitItem(const std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return {line, ""};
  return {line.substr(0, eq), line.substr(eq + 1, 255)};
}
