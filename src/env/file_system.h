// Existence tests and directory creation.
#pragma once
#include <string>
#include <vector>

bool FileExists(const std::string& path);  // a file, not a directory
bool DirectoryExists(const std::string& path);
// Creates dir with every missing parent; true when the directory exists afterwards.
bool ForceDirectories(const std::string& dir);
// The folders above dir that do not exist yet (those ForceDirectories would make besides
// dir itself), the outermost first.
std::vector<std::string> MissingFoldersAbove(const std::string& dir);
// Whether two names are one file: the same text (letter case aside), or the same file of one
// volume by another name (a short name, another letter case beyond ASCII).
bool SameFile(const std::string& a, const std::string& b);
// A file's size in bytes; 0 when it cannot be found.
unsigned long long FileSize(const std::string& path);
