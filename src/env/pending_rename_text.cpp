#include "env/pending_rename.h"

#include "env/paths.h"

std::string WithRenameLine(const std::string& iniText, const std::string& line) {
  const size_t section = LowerCase(iniText).find("[rename]");
  std::string text = iniText;
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  if (section == std::string::npos) return text + "[rename]\r\n" + line + "\r\n";
  // Right below the section's name: the order of the lines this program adds does not matter.
  const size_t below = text.find('\n', section) + 1;
  return text.insert(below, line + "\r\n");
}
