// Whole text files, read for display.
#pragma once
#include <optional>
#include <string>

// The file's bytes with every line ending made CR LF, as multi-line edits want them; none
// when it cannot be opened. The bytes as they lie in the file land in raw, when given.
std::optional<std::string> LoadTextFile(const std::string& path, std::string* raw = nullptr);
