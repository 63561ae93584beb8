// Whole text files, read for display.
#pragma once
#include <string>

// The file's bytes with every line ending made CR LF, as multi-line edits want them.
// Raises LibraryError "Kann Datei ... nicht öffnen" when it cannot be read.
std::string LoadTextFile(const std::string& path);
