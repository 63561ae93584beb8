// Exceptions that carry only a message, one type per kind of failure. Each is derived
// directly from std::exception; the standard error classes would bring a second string
// implementation into SETUP.EXE.
#pragma once
#include <exception>
#include <string>

template <typename Kind>
class MessageError : public std::exception {
 public:
  explicit MessageError(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};
