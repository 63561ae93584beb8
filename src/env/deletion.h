// Forced and recursive deletion.
#pragma once
#include <string>

// Clears the read-only attribute if set, then deletes the file. False when it is not gone.
bool ForceDeleteFile(const std::string& path);
// Deletes dir with its files and its visible subfolders, depth first; failures are ignored.
// A link to a folder (junction, symbolic link) is removed itself, never entered.
void DeleteTree(const std::string& dir);
