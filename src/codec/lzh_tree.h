// The adaptive Huffman tree of the compressed format, as both ends of the stream keep it:
// every symbol coded updates the counts, and the tree is rebuilt with halved counts when
// the root's count reaches the rebuild limit.
#pragma once
#include <cstddef>
#include <cstdint>

#include "codec/lzh_format.h"

namespace lzh {

struct AdaptiveTree {
  struct Node {
    uint16_t freq;    // the node's count; counts are in non-decreasing order by node
    uint16_t parent;  // the node's parent; the root's is 0
  };
  // Nodes 0 to 626 (626 the root), and a sentinel 627 whose count 0xFFFF ends every search.
  Node node[TreeNodes + 1];
  // An inner node's first child (the second is the next node), or symbol + 627 for a leaf.
  uint16_t son[TreeNodes];
  // The leaf node that holds each symbol.
  uint16_t leaf[Symbols];

  // The tree every file starts with: all counts 1, leaves in symbol order.
  void Start();
  // Counts one more occurrence of the symbol, keeping the counts in order.
  void Update(int symbol) {
    if (node[Root].freq == RebuildLimit) Rebuild();
    size_t c = leaf[symbol];  // a full-width index: c + 1 becomes a displacement
    do {
      const unsigned k = ++node[c].freq;
      if (k > node[c + 1].freq) c = SwapUp(c, k);
      c = node[c].parent;
    } while (c != 0);
  }
  // The parent of a node or, for a leaf mark (symbol + 627), the leaf of that symbol.
  void SetParent(unsigned child, unsigned parent) {
    if (child >= TreeNodes)
      leaf[child - TreeNodes] = static_cast<uint16_t>(parent);
    else
      node[child].parent = node[child + 1].parent = static_cast<uint16_t>(parent);
  }

 private:
  // Moves node c, whose count has become k, behind the last node whose count is below k;
  // returns the node it now is.
  size_t SwapUp(size_t c, unsigned k) {
    size_t l = c + 1;
    while (k > node[l + 1].freq) ++l;  // the sentinel ends the search
    node[c].freq = node[l].freq;
    node[l].freq = static_cast<uint16_t>(k);
    const unsigned i = son[c], j = son[l];
    SetParent(i, static_cast<unsigned>(l));
    son[l] = static_cast<uint16_t>(i);
    SetParent(j, static_cast<unsigned>(c));
    son[c] = static_cast<uint16_t>(j);
    return l;
  }
  void Rebuild();
};

}  // namespace lzh
