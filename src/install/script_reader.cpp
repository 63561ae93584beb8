#include "install/script_reader.h"

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trimmed(const std::string& text, size_t from, size_t to) {
  while (from < to && IsBlank(text[from])) ++from;
  while (to > from && IsBlank(text[to - 1])) --to;
  return text.substr(from, to - from);
}

// Names match regardless of the letter case of A to Z; Wine, where the installer is
// tested, tells "Ä" from "ä".
unsigned char Folded(unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Folded(static_cast<unsigned char>(a[i])) != Folded(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

constexpr size_t ValueBuffer = 1024;  // the installer's buffer, its last byte the terminator
}  // namespace

ScriptReader::ScriptReader(const std::string& text) {
  size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  parts_.push_back({});
  int number = 0;
  while (at <= text.size()) {
    size_t end = text.find_first_of("\r\n", at);  // either ends a line
    if (end == std::string::npos) end = text.size();
    ++number;
    const std::string line = Trimmed(text, at, end);
    // CR LF is one line break for the numbering.
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (line.empty()) continue;
    if (line[0] == '[') {
      const size_t close = line.rfind(']');  // the last one closes the name
      if (close != std::string::npos) {
        parts_.push_back({Trimmed(line, 1, close), number, {}});
        continue;
      }
    }
    // A line without "=" is a key without a value: it is not listed, and a lookup that
    // meets it first gets the default.
    Line entry;
    entry.line = number;
    const size_t equals = line.find('=');
    entry.hasValue = equals != std::string::npos;
    entry.key = entry.hasValue ? Trimmed(line, 0, equals) : line;
    if (entry.hasValue) entry.value = Trimmed(line, equals + 1, line.size());
    parts_.back().lines.push_back(entry);
  }
}

const ScriptReader::Part* ScriptReader::FindPart(const std::string& section) const {
  // The lines before the first header form a section without a name.
  for (const Part& part : parts_)
    if (SameName(part.name, section)) return &part;
  return nullptr;
}

bool ScriptReader::HasSection(const std::string& section) const { return FindPart(section) != nullptr; }

int ScriptReader::RepeatedHeaderLine(const std::string& section) const {
  bool first = true;
  for (size_t k = 1; k < parts_.size(); ++k) {
    if (!SameName(parts_[k].name, section)) continue;
    if (!first) return parts_[k].line;
    first = false;
  }
  return 0;
}

std::string ScriptReader::Answer(const Line& line) {
  std::string value = line.value;
  // Matching quotes around a value are taken off.
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    value = value.substr(1, value.size() - 2);
  if (value.size() > ValueBuffer - 1) value.resize(ValueBuffer - 1);
  return value;
}

std::optional<ScriptEntry> ScriptReader::Find(const std::string& section, const std::string& key) const {
  const Part* part = FindPart(section);
  if (!part) return std::nullopt;
  const std::string wanted = Trimmed(key, 0, key.size());
  for (const Line& line : part->lines) {
    if (!SameName(line.key, wanted)) continue;
    if (!line.hasValue) return std::nullopt;
    return ScriptEntry{line.key, Answer(line), line.line};
  }
  return std::nullopt;
}

std::vector<ScriptEntry> ScriptReader::Section(const std::string& section) const {
  std::vector<ScriptEntry> entries;
  const Part* part = FindPart(section);
  if (!part) return entries;
  for (const Line& line : part->lines) {
    if (!line.hasValue || line.key.starts_with(";")) continue;  // a comment is read, not listed
    // The names come as a list of zero-terminated texts, which an empty name ends early.
    if (line.key.empty()) break;
    const std::optional<ScriptEntry> found = Find(section, line.key);
    entries.push_back({line.key, found ? found->value : "", line.line});
  }
  return entries;
}
