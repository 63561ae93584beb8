// The one exception type of library failures, carrying the German message shown to the user.
#pragma once
#include <string>

#include "env/message_error.h"

using LibraryError = MessageError<struct LibraryErrorKind>;

inline LibraryError CannotOpenError(const std::string& path) {
  return LibraryError("Kann Datei " + path + " nicht öffnen");
}
inline LibraryError CannotCreateError(const std::string& path) {
  return LibraryError("Kann Datei " + path + " nicht erstellen");
}
inline LibraryError CannotWriteError(const std::string& path) {
  return LibraryError("Kann nicht nach " + path + " schreiben");
}
LibraryError IoError(unsigned long code);
