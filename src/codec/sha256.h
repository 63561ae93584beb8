// SHA-256: of each file of a distribution, which the installer checks as it reads it, of each
// installed file for the log, and of the archive a catalogue such as winget downloads.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The compression function over count whole 64-byte blocks. Every way of computing it gives
// the same digests; the fastest this machine allows is chosen once.
using Sha256Blocks = void (*)(uint32_t state[8], const uint8_t* blocks, size_t count);
void Sha256BlocksPortable(uint32_t state[8], const uint8_t* blocks, size_t count);
#if defined(__i386__) || defined(__x86_64__)
// With the processor's SHA instructions: only where ShaInstructionsUsable().
void Sha256BlocksShaInstructions(uint32_t state[8], const uint8_t* blocks, size_t count);
#endif
// The processor has the SHA instructions (and those of SSE4.1 they work with), and the system
// saves the XMM registers of each thread: the NT family says so, the 95 family is never asked.
bool ShaInstructionsUsable();
Sha256Blocks ChosenSha256Blocks();

class Sha256 {
 public:
  explicit Sha256(Sha256Blocks blocks = ChosenSha256Blocks());
  void Add(const uint8_t* data, size_t size);
  // 64 lower-case hex digits; the object is spent afterwards.
  std::string HexDigest();
  // Whether the digest is the expected one (hex digits in either case); spends the object.
  bool Matches(const std::string& expectedHex);
  uint64_t Length() const { return length_; }

 private:
  Sha256Blocks blocks_;
  uint32_t h_[8];
  uint8_t buffer_[64];
  size_t buffered_ = 0;
  uint64_t length_ = 0;  // bytes added
};

// The hex digest of bytes held in memory.
std::string Sha256Of(std::string_view bytes);
// None when the file cannot be read.
std::optional<std::string> FileSha256(const std::string& path);
