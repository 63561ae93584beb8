#include "codec/lzh_tree.h"

#include <cstring>

namespace lzh {

void AdaptiveTree::Start() {
  for (int s = 0; s < Symbols; ++s) {
    node[s].freq = 1;
    son[s] = static_cast<uint16_t>(s + TreeNodes);
    leaf[s] = static_cast<uint16_t>(s);
  }
  for (int i = 0, j = Symbols; j <= Root; i += 2, ++j) {
    node[j].freq = static_cast<uint16_t>(node[i].freq + node[i + 1].freq);
    son[j] = static_cast<uint16_t>(i);
    node[i].parent = node[i + 1].parent = static_cast<uint16_t>(j);
  }
  node[TreeNodes].freq = 0xFFFF;
  node[Root].parent = 0;
}

void AdaptiveTree::Rebuild() {
  // Leaves to the front, counts halved (rounding up).
  int j = 0;
  for (int i = 0; i < TreeNodes; ++i) {
    if (son[i] >= TreeNodes) {
      node[j].freq = static_cast<uint16_t>((node[i].freq + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Inner nodes: each pair's sum goes in after the last node whose count is not greater.
  for (int i = 0, n = Symbols; n < TreeNodes; i += 2, ++n) {
    const unsigned f = node[i].freq + node[i + 1].freq;
    node[n].freq = static_cast<uint16_t>(f);
    int k = n - 1;
    while (f < node[k].freq) --k;
    ++k;
    std::memmove(&node[k + 1], &node[k], static_cast<size_t>(n - k) * sizeof node[0]);
    node[k].freq = static_cast<uint16_t>(f);
    std::memmove(&son[k + 1], &son[k], static_cast<size_t>(n - k) * sizeof son[0]);
    son[k] = static_cast<uint16_t>(i);
  }
  for (int n = 0; n < TreeNodes; ++n) SetParent(son[n], static_cast<unsigned>(n));
  node[Root].parent = 0;
}

}  // namespace lzh
