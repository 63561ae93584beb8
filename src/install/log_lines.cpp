#include "install/log_lines.h"

#include <algorithm>

#include "env/install_names.h"
#include "env/paths.h"

unsigned long FileNumber(std::string_view key) {
  if (key.size() < 5 || UpperCase(std::string(key.substr(0, 4))) != "FILE") return 0;
  unsigned long number = 0;
  for (size_t i = 4; i < key.size(); ++i) {
    if (key[i] < '0' || key[i] > '9' || number > 100000000) return 0;
    number = number * 10 + static_cast<unsigned long>(key[i] - '0');
  }
  return number;
}

std::vector<NumberedEntry> NumberedEntries(const std::vector<std::string>& lines) {
  // By number, then by place: sorted, equal numbers stay in file order. A log is nearly
  // always in order already; an edited one may be in any, and long.
  std::vector<std::pair<unsigned long, size_t>> order;
  for (size_t k = 0; k < lines.size(); ++k) {
    const size_t equals = lines[k].find('=');
    const unsigned long number = FileNumber(std::string_view(lines[k]).substr(0, equals));
    if (number && equals != std::string::npos) order.emplace_back(number, k);
  }
  // A heap sort: never quadratic, and the least code (the places make every pair unique).
  if (!std::is_sorted(order.begin(), order.end())) {
    std::make_heap(order.begin(), order.end());
    std::sort_heap(order.begin(), order.end());
  }
  std::vector<NumberedEntry> entries;
  entries.reserve(order.size());
  for (const auto& [number, k] : order) entries.push_back({number, lines[k].substr(lines[k].find('=') + 1)});
  return entries;
}

std::vector<LoggedFile> JoinLoggedFiles(const std::vector<std::string>& installed,
                                        const std::vector<std::string>& states,
                                        const std::vector<std::string>& origins) {
  // Walks the numbered entries of a section alongside the files: the value of the file's
  // number, else empty.
  struct Alongside {
    std::vector<NumberedEntry> entries;
    size_t next = 0;
    std::string ValueOf(unsigned long number) {
      while (next < entries.size() && entries[next].number < number) ++next;
      return next < entries.size() && entries[next].number == number ? entries[next].value : std::string();
    }
  } stateOf{NumberedEntries(states)}, originOf{NumberedEntries(origins)};
  std::vector<LoggedFile> files;
  for (NumberedEntry& entry : NumberedEntries(installed))
    files.push_back(
        {std::move(entry.value), stateOf.ValueOf(entry.number), originOf.ValueOf(entry.number), entry.number});
  return files;
}

namespace {
// The sections the installation writes itself.
bool IsWrittenSection(std::string_view name) {
  for (const char* own :
       {LogGeneral, LogFileStates, LogInstalledFiles, LogGroup, LogStartMenu, LogCreatedFolders, LogFileOrigins}) {
    size_t k = 0;
    while (k < name.size() && own[k] && ((own[k] ^ name[k]) & ~0x20) == 0) ++k;
    if (k == name.size() && !own[k]) return true;
  }
  return false;
}
}  // namespace

std::string OtherSections(const std::string& text) {
  std::string kept;
  bool keep = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    // A line that opens a section, its name up to the "]" on the same line.
    const std::string_view line = std::string_view(text).substr(at, end - at);
    if (const size_t close = line.find(']'); line[0] == '[' && close != std::string_view::npos)
      keep = !IsWrittenSection(line.substr(1, close - 1));
    if (keep) kept.append(line);
    at = end;
  }
  if (!kept.empty() && kept.back() != '\n') kept += "\r\n";
  return kept;
}
