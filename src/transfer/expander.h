// Expanding one compressed distribution file into its installed form.
#pragma once
#include <exception>
#include <string>

// Failures of the decoder's tables.
class ElzhException : public std::exception {
 public:
  explicit ElzhException(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Failures of the file layer: memory, opening, reading, writing, signature, a damaged stream.
class ELzrw1Exception : public std::exception {
 public:
  explicit ELzrw1Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Expands source into target. Raises the two classes above; on any failure after the
// target was created the target is deleted. Source and target naming one file fail
// before anything is written.
void ExpandFileOrThrow(const std::string& source, const std::string& target);

// As ExpandFileOrThrow, but reports only success; no exception leaves it.
bool ExpandFile(const std::string& source, const std::string& target);
