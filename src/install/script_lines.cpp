// The setup script's lists, as text: portable, so that they are tested anywhere.
#include <string_view>

#include "env/paths.h"
#include "install/setup_script.h"

namespace {
// The k a key "k" stands for (decimal, no leading zero), 0 for any other key or one above n.
size_t ListNumber(std::string_view key, size_t n) {
  if (key.empty() || key.size() > 9 || key[0] == '0') return 0;
  size_t k = 0;
  for (const char c : key) {
    if (c < '0' || c > '9') return 0;
    k = k * 10 + static_cast<size_t>(c - '0');
  }
  return k <= n ? k : 0;
}
}  // namespace

std::vector<std::string> NumberedList(const std::vector<std::string>& sectionLines) {
  // One pass, so that a long list stays fast; the first line of a key counts, as for a
  // lookup by key.
  const size_t n = sectionLines.size();
  std::vector<std::string> names(n);
  std::vector<bool> found(n);
  for (const std::string& line : sectionLines) {
    const size_t eq = line.find('=');
    const size_t k = ListNumber(std::string_view(line).substr(0, eq), n);
    if (k == 0 || found[k - 1]) continue;
    found[k - 1] = true;
    if (eq != std::string::npos) names[k - 1] = line.substr(eq + 1);
  }
  return names;
}

std::map<std::string, std::string> ChecksumTable(const std::vector<std::string>& sectionLines) {
  const auto trim = [](const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
  };
  std::map<std::string, std::string> table;
  for (const std::string& line : sectionLines) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    table.emplace(LowerCase(trim(line.substr(0, eq))), LowerCase(trim(line.substr(eq + 1))));
  }
  return table;
}

ShortcutItem SplitItem(const std::string& line) {
  const size_t eq = line.find('=');
  if (eq == std::string::npos) return {line, ""};
  return {line.substr(0, eq), line.substr(eq + 1, 255)};
}
