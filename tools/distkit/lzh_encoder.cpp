#include "lzh_encoder.h"

#include <algorithm>
#include <limits>

#include "codec/lzh_tree.h"

namespace lzh {
namespace {

// Bits out, most significant first.
class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(uint32_t bits, int count) {  // count up to 24
    buffer_ = (buffer_ << count) | (bits & ((1u << count) - 1));
    count_ += count;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<uint8_t>(buffer_ >> count_));
    }
  }
  void Finish() {
    if (count_) out_.push_back(static_cast<uint8_t>(buffer_ << (8 - count_)));
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t buffer_ = 0;
  int count_ = 0;
};

// The symbols coded so far, kept in step with the decoder's tree.
class SymbolCoder {
 public:
  explicit SymbolCoder(BitWriter& bits) : bits_(bits) { tree_.Start(); }

  void Put(int symbol) {
    uint32_t path[4] = {};
    int length = 0;
    for (unsigned k = tree_.leaf[symbol]; k != Root; k = tree_.node[k].parent) {
      const unsigned bit = k - tree_.son[tree_.node[k].parent];  // 1 for the second child
      path[length / 32] |= bit << (length % 32);
      ++length;
    }
    for (int i = length - 1; i >= 0; --i) bits_.Put((path[i / 32] >> (i % 32)) & 1, 1);
    tree_.Update(symbol);
  }

  // The code length each symbol has now: its leaf's depth.
  void Depths(uint8_t* depth) const {
    for (int s = 0; s < Symbols; ++s) {
      int d = 0;
      for (unsigned k = tree_.leaf[s]; k != Root; k = tree_.node[k].parent) ++d;
      depth[s] = static_cast<uint8_t>(d);
    }
  }

 private:
  BitWriter& bits_;
  AdaptiveTree tree_;
};

void PutPosition(BitWriter& bits, unsigned p) {
  const unsigned upper = p >> 6;
  bits.Put(Positions.code[upper], Positions.length[upper]);
  bits.Put(p & 63, 6);
}

// Matches by hash chains over the data with the ring's initial blanks before it.
class MatchFinder {
 public:
  MatchFinder(const std::vector<uint8_t>& data, int chainDepth)
      : text_(InitialWritePosition + data.size(), InitialFill), depth_(chainDepth) {
    std::copy(data.begin(), data.end(), text_.begin() + InitialWritePosition);
    head_.assign(HashSize, -1);
    previous_.assign(text_.size(), -1);
  }
  size_t Start() const { return InitialWritePosition; }
  size_t End() const { return text_.size(); }
  uint8_t At(size_t i) const { return text_[i]; }

  // Enters every position before i into the chains.
  void InsertUpTo(size_t i) {
    for (; inserted_ < i && inserted_ + 2 < text_.size(); ++inserted_) {
      const unsigned h = Hash(inserted_);
      previous_[inserted_] = head_[h];
      head_[h] = static_cast<int>(inserted_);
    }
  }

  // For each length 3..longest, the nearest distance that reaches it (lengths[n] = distance-1
  // for length n, or -1). Returns the longest length found.
  int Find(size_t i, int* bestPosition) {
    InsertUpTo(i);
    const int limit = static_cast<int>(std::min<size_t>(LongestMatch, text_.size() - i));
    if (limit <= Threshold) return 0;
    int longest = Threshold;
    int chain = depth_;
    for (int c = head_[Hash(i)]; c >= 0 && chain-- > 0; c = previous_[c]) {
      const size_t distance = i - static_cast<size_t>(c);
      if (distance > RingSize) break;
      if (text_[c + longest] != text_[i + longest]) continue;
      int n = 0;
      while (n < limit && text_[c + n] == text_[i + n]) ++n;
      for (int len = longest + 1; len <= n; ++len) bestPosition[len] = static_cast<int>(distance - 1);
      if (n > longest) longest = n;
      if (longest == limit) break;
    }
    return longest > Threshold ? longest : 0;
  }

 private:
  static constexpr unsigned HashSize = 1u << 15;
  unsigned Hash(size_t i) const { return ((text_[i] << 10) ^ (text_[i + 1] << 5) ^ text_[i + 2]) & (HashSize - 1); }

  std::vector<uint8_t> text_;
  std::vector<int> head_, previous_;
  size_t inserted_ = 0;
  int depth_;
};

struct Step {
  uint32_t cost = std::numeric_limits<uint32_t>::max();
  int16_t length = 0;  // 1: a literal, else a match of this length
  int16_t position = 0;
};

// Chooses the cheapest parse of [from, to) with the symbols' current code lengths, then
// codes it; returns where the next block starts.
size_t ParseBlock(MatchFinder& finder, size_t from, size_t to, SymbolCoder& coder, BitWriter& bits,
                  std::vector<Step>& steps) {
  uint8_t depth[Symbols];
  coder.Depths(depth);
  const size_t n = to - from;
  steps.assign(n + 1, Step{});
  steps[0].cost = 0;
  int position[LongestMatch + 1];
  for (size_t k = 0; k < n; ++k) {
    const uint32_t here = steps[k].cost;
    const uint32_t literal = here + depth[finder.At(from + k)];
    if (literal < steps[k + 1].cost) steps[k + 1] = {literal, 1, 0};
    const int longest = finder.Find(from + k, position);
    const int reach = static_cast<int>(std::min<size_t>(longest, n - k));
    for (int len = Threshold + 1; len <= reach; ++len) {
      // Every length where the distance changes, the short ones and the longest.
      if (len > 18 && len < reach && position[len] == position[len + 1]) continue;
      const unsigned upper = static_cast<unsigned>(position[len]) >> 6;
      const uint32_t cost = here + depth[MatchSymbol(len)] + Positions.length[upper] + 6;
      Step& target = steps[k + len];
      if (cost < target.cost) target = {cost, static_cast<int16_t>(len), static_cast<int16_t>(position[len])};
    }
  }
  // Back from the end, then code forward.
  std::vector<size_t> path;
  for (size_t k = n; k > 0; k -= static_cast<size_t>(steps[k].length)) path.push_back(k);
  for (auto it = path.rbegin(); it != path.rend(); ++it) {
    const Step& s = steps[*it];
    if (s.length == 1) {
      coder.Put(finder.At(from + *it - 1));
    } else {
      coder.Put(MatchSymbol(s.length));
      PutPosition(bits, static_cast<unsigned>(s.position));
    }
  }
  return to;
}

}  // namespace

std::vector<uint8_t> Compress(const std::vector<uint8_t>& input, const EncoderOptions& options,
                              void (*progress)(size_t, size_t, void*), void* context) {
  std::vector<uint8_t> out(Signature, Signature + 4);
  const auto size = static_cast<uint32_t>(input.size());
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(size >> shift));
  BitWriter bits(out);
  SymbolCoder coder(bits);
  MatchFinder finder(input, options.chainDepth);
  std::vector<Step> steps;
  for (size_t at = finder.Start(); at < finder.End();) {
    const size_t to = std::min(finder.End(), at + static_cast<size_t>(options.blockSize));
    at = ParseBlock(finder, at, to, coder, bits, steps);
    if (progress) progress(at - finder.Start(), input.size(), context);
  }
  bits.Finish();
  return out;
}

}  // namespace lzh
