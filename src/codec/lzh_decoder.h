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

#include "codec/lzh_tree.h"

namespace lzh {

// Why Decode stopped early: the stream is damaged (it ends too early, or a match overshoots
// the stated size), or the sink refused its bytes.
inline constexpr char StreamEndsEarly[] = "the stream ends too early";
inline constexpr char MatchPastSize[] = "a match runs past the stated size";
inline constexpr char SinkRefused[] = "the output cannot be written";

// Source: size_t Read(const uint8_t*& block) points block at the next bytes of the stream
// and gives their number, 0 at its end.
// Sink: uint8_t* Buffer() is where decoded bytes go, BlockSize at a time; bool Write(size_t n)
// takes the first n bytes of it (BlockSize for every full block, then the rest), false when
// it cannot.
// The running state is kept in locals so that it stays in registers; the tree and the ring
// live in the object.
template <typename Source, typename Sink, size_t BlockSize>
class Decoder {
 public:
  Decoder(Source& source, Sink& sink) : source_(source), sink_(sink) {}

  // Null when all size bytes are out, else why not (one of the reasons above); a size of 0
  // or less gives no output.
  const char* Decode(int32_t size) {
    tree_.Start();
    std::memset(ring_, InitialFill, sizeof ring_);
    uint8_t* const outStart = sink_.Buffer();
    uint8_t* const outEnd = outStart + BlockSize;
    uint8_t* out = outStart;      // where the next decoded byte goes
    const uint8_t* in = nullptr;  // the next stream byte not yet in the bit buffer
    const uint8_t* inEnd = nullptr;
    uint64_t bits = 0;                  // stream bits not yet used, the next one in bit 63
    int count = 0;                      // how many of them are valid
    int64_t padding = 0;                // zero bytes supplied past the end of the stream
    unsigned r = InitialWritePosition;  // the ring's write position
    int64_t produced = 0;

    while (produced < size) {
      if (IsCut(padding, count)) return StreamEndsEarly;  // the symbol before took padding
      // At least 57 bits: the deepest symbol (the counts allow no more than 24 levels) and
      // a position. Past the end of the stream zero bytes are added, and counted.
      while (count <= 56) {
        if (in == inEnd) {
          const size_t got = source_.Read(in);
          inEnd = in + got;
          if (got == 0) {
            ++padding;
            count += 8;
            continue;
          }
        }
        bits |= static_cast<uint64_t>(*in++) << (56 - count);
        count += 8;
      }
      size_t c = tree_.son[Root];  // full width: no wrap to guard against in the index
      int depth = 0;
      for (uint64_t walk = bits; c < TreeNodes; walk <<= 1, ++depth) c = tree_.son[c + (walk >> 63)];
      bits <<= depth;
      count -= depth;
      c -= TreeNodes;
      tree_.Update(static_cast<int>(c));
      if (c < 256) {
        if (out == outEnd) {
          if (!sink_.Write(BlockSize)) return SinkRefused;
          out = outStart;
        }
        *out++ = static_cast<uint8_t>(c);
        ring_[r] = static_cast<uint8_t>(c);
        r = (r + 1) & RingMask;
        ++produced;
        continue;
      }
      const int length = MatchLength(static_cast<int>(c));
      if (produced + length > size) return MatchPastSize;
      const unsigned i = static_cast<unsigned>(bits >> 56);
      const int extra = Positions.bits[i] - 2;
      const unsigned low = static_cast<unsigned>(bits >> (56 - extra)) & 63;
      bits <<= 8 + extra;
      count -= 8 + extra;
      unsigned from = r - ((static_cast<unsigned>(Positions.value[i]) << 6) | low) - 1;
      if (outEnd - out < length) {  // the block fills up inside this match
        for (int k = 0; k < length; ++k, ++from) {
          const uint8_t b = ring_[from & RingMask];
          if (out == outEnd) {
            if (!sink_.Write(BlockSize)) return SinkRefused;
            out = outStart;
          }
          *out++ = b;
          ring_[r] = b;
          r = (r + 1) & RingMask;
        }
      } else if ((from & RingMask) + length <= RingSize && r + length <= RingSize) {
        // Neither end wraps: no masking. Byte by byte all the same, as a short distance
        // repeats the bytes this very match writes.
        const uint8_t* source = ring_ + (from & RingMask);
        uint8_t* target = ring_ + r;
        for (int k = 0; k < length; ++k) out[k] = target[k] = source[k];
        out += length;
        r = (r + length) & RingMask;
      } else {
        for (int k = 0; k < length; ++k, ++from) {
          const uint8_t b = ring_[from & RingMask];
          *out++ = b;
          ring_[r] = b;
          r = (r + 1) & RingMask;
        }
      }
      produced += length;
    }
    if (IsCut(padding, count)) return StreamEndsEarly;
    return sink_.Write(static_cast<size_t>(out - outStart)) ? nullptr : SinkRefused;
  }

 private:
  // Bits taken from the zero padding past the end mean the stream was cut short.
  static bool IsCut(int64_t padding, int count) { return padding && padding * 8 > count; }

  Source& source_;
  Sink& sink_;
  AdaptiveTree tree_;       // the code of literals and lengths, adapting as it goes
  uint8_t ring_[RingSize];  // the last 4096 bytes written: the dictionary
};

}  // namespace lzh
