// Initialisation files, read and written only through the profile-string functions,
// so section and key names match whatever their letter case. Nothing is cached.
#pragma once
#include <string>
#include <vector>

// A profile file's bytes for a text, as this system's profile functions read them: on the NT
// family UTF-16 (little-endian), in a file that begins with its byte-order mark
// (ProfileFileStart), so that every name stays whole; on the 95 family the system's code page.
std::string ProfileBytes(const std::string& text);
std::string ProfileFileStart();
// A profile file's text from its bytes: UTF-16 after its mark, else the system's code page.
std::string ProfileText(const std::string& bytes);

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  // At most 1023 characters; the default applies only when the key is missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  // The section as ordered "key=value" lines: every key in file order, however many,
  // each value as ReadString gives it. A missing section gives no lines.
  std::vector<std::string> ReadSection(const std::string& section) const;
  // False when the file cannot be written.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
