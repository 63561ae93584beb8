#include "env/pending_rename.h"

#include "env/paths.h"

std::string WithRenameLine(const std::string& iniText, const std::string& line) {
  // The section's end: the next line that opens a section, else the text's end.
  size_t start = std::string::npos;
  for (size_t at = 0; at < iniText.size();) {
    size_t end = iniText.find('\n', at);
    end = end == std::string::npos ? iniText.size() : end + 1;
    size_t first = at;
    while (first < end && (iniText[first] == ' ' || iniText[first] == '\t')) ++first;
    if (first < end && iniText[first] == '[') {
      if (start != std::string::npos) {
        return iniText.substr(0, at) + line + "\r\n" + iniText.substr(at);
      }
      if (LowerCase(iniText.substr(first, 8)) == "[rename]") start = end;
    }
    at = end;
  }
  std::string text = iniText;
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  if (start == std::string::npos) text += "[rename]\r\n";
  return text + line + "\r\n";
}
