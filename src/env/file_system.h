// Existence tests and directory creation.
#pragma once
#include <string>

bool FileExists(const std::string& path);       // a file, not a directory
bool DirectoryExists(const std::string& path);
// Creates dir with every missing parent; true when the directory exists afterwards.
bool ForceDirectories(const std::string& dir);
