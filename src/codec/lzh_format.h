// The distribution's compressed format, shared by the expander and the toolkit's compressor.
//
// A compressed file is an 8-byte header and a bit stream:
//   offset 0: the signature 21 48 5A 4C ("!HZL")
//   offset 4: the uncompressed size, 32-bit signed, little-endian
//   offset 8: the LZHUF bit stream, most significant bit of each byte first
// The stream is LZSS over a ring of 4096 bytes (positions 0 to 4035 start as blanks, the
// first byte goes to 4036). Each step is one symbol of an adaptive Huffman code over 314
// symbols: 0 to 255 a literal byte, 256 to 313 a match of length symbol - 253 (3 to 60).
// A match symbol is followed by its distance p (0 to 4095, counted back from the byte before
// the write position): its upper six bits in a fixed prefix code of 3 to 8 bits, then its
// lower six bits as they are. There is no end marker: decoding stops at the stated size.
#pragma once
#include <cstdint>

namespace lzh {

inline constexpr unsigned char Signature[4] = {0x21, 0x48, 0x5A, 0x4C};
inline constexpr int HeaderSize = 8;

inline constexpr int RingSize = 4096;  // dictionary positions mod 4096
inline constexpr int RingMask = RingSize - 1;
inline constexpr int LongestMatch = 60;
inline constexpr int Threshold = 2;                                   // a match is at least 3 bytes
inline constexpr int Symbols = 256 - Threshold + LongestMatch;        // 314
inline constexpr int TreeNodes = 2 * Symbols - 1;                     // 627: 314 leaves, 313 inner nodes
inline constexpr int Root = TreeNodes - 1;                            // 626
inline constexpr uint16_t RebuildLimit = 0x8000;                      // root count that halves all counts
inline constexpr int InitialWritePosition = RingSize - LongestMatch;  // 4036
inline constexpr unsigned char InitialFill = 0x20;

inline constexpr int MatchSymbol(int length) { return 255 - Threshold + length; }
inline constexpr int MatchLength(int symbol) { return symbol - 255 + Threshold; }

// The prefix code of a distance's upper six bits: canonical, lengths 3 to 8.
struct PositionCode {
  uint8_t length[64];  // code length of each upper-six-bit value
  uint8_t code[64];    // its code, right-aligned
  uint8_t value[256];  // decoding: the value whose code begins the eight bits i
  uint8_t bits[256];   // decoding: that code's length
};

constexpr PositionCode MakePositionCode() {
  PositionCode table{};
  const int perLength[6] = {1, 3, 8, 12, 24, 16};  // values with codes of 3, 4, ... 8 bits
  int value = 0, code = 0;
  for (int n = 0; n < 6; ++n) {
    const int length = 3 + n;
    for (int k = 0; k < perLength[n]; ++k, ++value, ++code) {
      table.length[value] = static_cast<uint8_t>(length);
      table.code[value] = static_cast<uint8_t>(code);
      const int first = code << (8 - length);
      for (int i = 0; i < (1 << (8 - length)); ++i) {
        table.value[first + i] = static_cast<uint8_t>(value);
        table.bits[first + i] = static_cast<uint8_t>(length);
      }
    }
    code <<= 1;
  }
  return table;
}

inline constexpr PositionCode Positions = MakePositionCode();

}  // namespace lzh
