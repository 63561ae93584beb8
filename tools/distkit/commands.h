// The toolkit's commands on one file each; they return a one-line problem, or "" when done.
#pragma once
#include <filesystem>
#include <string>

// A path as the program's strings hold names (UTF-8), on Windows too, where a path's narrow
// string is the system's code page, which the shared code does not speak.
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// A name beside the output that no one else uses, for writing before the final rename.
std::filesystem::path TemporaryFor(const std::filesystem::path& output);
// Renames the finished temporary file to output; on a failure it goes, and the problem is told.
std::string Finish(const std::filesystem::path& temporary, const std::filesystem::path& output);

std::string CompressCommand(const std::string& file, const std::string& outputDir);
std::string ExpandCommand(const std::string& file, const std::string& outputDir);
// The compressed name of an installed file name ("" when its extension is not 3 characters).
std::string CompressedNameFor(const std::string& name);
