// A setup script read the way GetPrivateProfileStringA reads it, on any system, with the line
// each answer comes from: the toolkit checks a distribution with it before it ships, and
// SETUP.EXE reads the script that a one-file download carries, which lies in no file.
#pragma once
#include <optional>
#include <string>
#include <vector>

struct ScriptEntry {
  std::string key;    // as written, blanks around it removed
  std::string value;  // what GetPrivateProfileStringA gives for it
  int line = 0;       // 1-based
};

class ScriptReader {
 public:
  explicit ScriptReader(const std::string& text);
  // The value the installer reads for section and key; none when it would get its default.
  std::optional<ScriptEntry> Find(const std::string& section, const std::string& key) const;
  // The keys of the section in file order, as the installer lists them, each with the value
  // a lookup of its name gives.
  std::vector<ScriptEntry> Section(const std::string& section) const;
  bool HasSection(const std::string& section) const;
  // The line of a second header of the section (whose lines the installer never reads), or 0.
  int RepeatedHeaderLine(const std::string& section) const;

 private:
  struct Line {
    std::string key, value;
    bool hasValue = false;
    int line = 0;
  };
  struct Part {
    std::string name;
    int line = 0;
    std::vector<Line> lines;
  };
  const Part* FindPart(const std::string& section) const;
  static std::string Answer(const Line& line);

  std::vector<Part> parts_;  // parts_[0]: the lines before the first section header
};
