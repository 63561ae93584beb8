// Forced and recursive deletion.
#pragma once
#include <string>

// Clears the read-only attribute if set, then deletes the file. False when it is not gone.
bool ForceDeleteFile(const std::string& path);
// Deletes dir with its files and its visible subfolders, depth first; failures are ignored.
// A link to a folder (junction, symbolic link) is removed itself, never entered.
void DeleteTree(const std::string& dir);
// Whether a file is reached from base without passing a link to another place (a junction or
// symbolic link among its folders below base). The file itself is left to DeleteFileA, which
// removes a link, never what it points to, and refuses a folder. The folder last found plain
// is remembered, as a log names a folder's files one after another.
class FolderGuard {
 public:
  bool Admits(const std::string& file, const std::string& base);

 private:
  std::string plain_;  // "base|folder\" last found plain
};
