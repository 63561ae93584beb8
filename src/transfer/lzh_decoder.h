// The decoder of the compressed format (see lzh_format.h for the stream's layout).
//
// Decoding, symbol by symbol, until the stated number of bytes is out:
//   - a symbol is read by walking the adaptive tree from the root, one stream bit per level
//     (0 the first child, 1 the second), then counted in the tree (AdaptiveTree::Update);
//   - a literal is written and stored in the ring at the write position;
//   - a match reads its distance p (eight bits look up the upper six bits and their code
//     length L, then L - 2 more bits complete the lower six) and copies its length from ring
//     index (write position - p - 1) on, byte after byte, so that a short distance repeats
//     the bytes just written.
// Unlike a classic decoder it treats as corrupt a stream that needs bits past its last
// byte, and a match that runs past the stated size.
#pragma once
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "transfer/lzh_tree.h"

namespace lzh {

// The stream is damaged: it ends too early, or a match overshoots the stated size.
struct CorruptStream {
  const char* what;
};

// Source: int Next() gives the next byte of the stream, or -1 at its end.
// Sink: void Put(uint8_t) takes one decoded byte.
template <typename Source, typename Sink>
class Decoder {
 public:
  Decoder(Source& source, Sink& sink) : source_(source), sink_(sink) {}

  // Throws CorruptStream; a size of 0 or less gives no output.
  void Decode(int32_t size) {
    tree_.Start();
    std::memset(ring_, InitialFill, sizeof ring_);
    unsigned r = InitialWritePosition;
    int64_t count = 0;
    while (count < size) {
      const int c = DecodeSymbol();
      if (c < 256) {
        sink_.Put(static_cast<uint8_t>(c));
        ring_[r] = static_cast<uint8_t>(c);
        r = (r + 1) & RingMask;
        ++count;
      } else {
        const int length = MatchLength(c);
        if (count + length > size) throw CorruptStream{"a match runs past the stated size"};
        unsigned from = (r - DecodePosition() - 1) & RingMask;
        if (from + length <= RingSize && r + length <= RingSize) {
          for (int k = 0; k < length; ++k) {  // the common case: neither end wraps
            const uint8_t b = ring_[from + k];
            sink_.Put(b);
            ring_[r + k] = b;
          }
          r = (r + length) & RingMask;
        } else {
          for (int k = 0; k < length; ++k) {
            const uint8_t b = ring_[from];
            from = (from + 1) & RingMask;
            sink_.Put(b);
            ring_[r] = b;
            r = (r + 1) & RingMask;
          }
        }
        count += length;
      }
      // Bits taken from the zero padding past the end mean the stream was cut short.
      if (padding_ && padding_ * 8 > bitCount_) throw CorruptStream{"the stream ends too early"};
    }
  }

 private:
  // Keeps at least 57 bits in the buffer, enough for the deepest symbol (the counts allow
  // no more than 24 levels) and a position; past the end of the stream it adds zero bytes
  // and counts them.
  void Refill() {
    while (bitCount_ <= 56) {
      int byte = source_.Next();
      if (byte < 0) {
        byte = 0;
        ++padding_;
      }
      bitBuffer_ |= static_cast<uint64_t>(byte) << (56 - bitCount_);
      bitCount_ += 8;
    }
  }

  unsigned TakeBits(int n) {  // n from 1 to 8, with the buffer filled for this symbol
    const unsigned bits = static_cast<unsigned>(bitBuffer_ >> (64 - n));
    bitBuffer_ <<= n;
    bitCount_ -= n;
    return bits;
  }

  int DecodeSymbol() {
    Refill();
    uint64_t bits = bitBuffer_;
    int used = 0;
    unsigned c = tree_.son[Root];
    while (c < TreeNodes) {
      c = tree_.son[c + static_cast<unsigned>(bits >> 63)];
      bits <<= 1;
      ++used;
    }
    bitBuffer_ = bits;
    bitCount_ -= used;
    c -= TreeNodes;
    tree_.Update(static_cast<int>(c));
    return static_cast<int>(c);
  }

  unsigned DecodePosition() {
    if (bitCount_ < 14) Refill();
    const unsigned i = TakeBits(8);
    const unsigned upper = Positions.value[i];
    const int extra = Positions.bits[i] - 2;
    const unsigned low = ((i << extra) | TakeBits(extra)) & 63;
    return (upper << 6) | low;
  }

  Source& source_;
  Sink& sink_;
  AdaptiveTree tree_;               // the code of literals and lengths, adapting as it goes
  uint8_t ring_[RingSize];          // the last 4096 bytes written: the dictionary
  uint64_t bitBuffer_ = 0;          // stream bits not yet used, the next one in bit 63
  int bitCount_ = 0;                // how many bits of bitBuffer_ are valid
  int64_t padding_ = 0;             // zero bytes supplied past the end of the stream
};

}  // namespace lzh
