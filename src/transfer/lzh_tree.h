// The adaptive Huffman tree of the compressed format, as both ends of the stream keep it:
// every symbol coded updates the counts, and the tree is rebuilt with halved counts when
// the root's count reaches the rebuild limit.
#pragma once
#include <cstdint>

#include "transfer/lzh_format.h"

namespace lzh {

struct AdaptiveTree {
  // Count of each node in non-decreasing order by node; entry 627 is a 0xFFFF sentinel.
  uint16_t freq[TreeNodes + 1];
  // An inner node's first child (the second is the next node), or symbol + 627 for a leaf.
  uint16_t son[TreeNodes];
  // The parent of each node (the root's is 0); entry 627 + s is the leaf holding symbol s.
  uint16_t parent[TreeNodes + Symbols];

  // The tree every file starts with: all counts 1, leaves in symbol order.
  void Start();
  // Counts one more occurrence of the symbol, keeping the counts in order.
  void Update(int symbol) {
    if (freq[Root] == RebuildLimit) Rebuild();
    unsigned c = parent[symbol + TreeNodes];
    do {
      const unsigned k = ++freq[c];
      if (k > freq[c + 1]) SwapUp(c, k);
      c = parent[c];
    } while (c != 0);
  }

 private:
  // Moves node c, whose count has become k, behind the last node whose count is below k.
  void SwapUp(unsigned& c, unsigned k);
  void Rebuild();
};

}  // namespace lzh
