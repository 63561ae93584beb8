// SHA-256: of each file of a distribution, which the installer checks as it reads it, and of
// the archive a catalogue such as winget downloads.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Sha256 {
 public:
  Sha256();
  void Add(const uint8_t* data, size_t size);
  // 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();
  // Whether the digest is the expected one (hex digits in either case); spends the object.
  bool Matches(const std::string& expectedHex);

 private:
  void Block(const uint8_t* block);
  uint32_t h_[8];
  uint8_t buffer_[64];
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes added
};

// The hex digest of bytes held in memory.
std::string Sha256Of(std::string_view bytes);
// None when the file cannot be read.
std::optional<std::string> FileSha256(const std::string& path);
