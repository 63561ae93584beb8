// The German messages of library failures, shown in the application's general error box.
#pragma once
#include <string>

// Out of line, so that each text is in the program once.
std::string CannotOpenError(const std::string& path);
std::string CannotCreateError(const std::string& path);
std::string CannotWriteError(const std::string& path);
std::string IoError(unsigned long code);
// A file of the distribution whose bytes are not those Setup.lst records, and what to do.
std::string DamagedFileError(const std::string& path);
