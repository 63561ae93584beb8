// The one exception type of library failures, carrying the German message shown to the user.
#pragma once
#include <exception>
#include <string>

// Derived from std::exception alone: the standard error classes would bring a second
// string implementation into SETUP.EXE.
class LibraryError : public std::exception {
 public:
  explicit LibraryError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

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
