// The German messages of library failures, shown in the application's general error box.
#pragma once
#include <string>

inline std::string CannotOpenError(const std::string& path) { return "Kann Datei " + path + " nicht öffnen"; }
inline std::string CannotCreateError(const std::string& path) { return "Kann Datei " + path + " nicht erstellen"; }
inline std::string CannotWriteError(const std::string& path) { return "Kann nicht nach " + path + " schreiben"; }
std::string IoError(unsigned long code);
