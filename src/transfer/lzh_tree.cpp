#include "transfer/lzh_tree.h"

#include <cstring>

namespace lzh {

void AdaptiveTree::Start() {
  for (int s = 0; s < Symbols; ++s) {
    freq[s] = 1;
    son[s] = static_cast<uint16_t>(s + TreeNodes);
    parent[s + TreeNodes] = static_cast<uint16_t>(s);
  }
  for (int i = 0, j = Symbols; j <= Root; i += 2, ++j) {
    freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<uint16_t>(i);
    parent[i] = parent[i + 1] = static_cast<uint16_t>(j);
  }
  freq[TreeNodes] = 0xFFFF;
  parent[Root] = 0;
}

void AdaptiveTree::SwapUp(unsigned& c, unsigned k) {
  unsigned l = c + 1;
  while (k > freq[l + 1]) ++l;  // the sentinel ends the search
  freq[c] = freq[l];
  freq[l] = static_cast<uint16_t>(k);

  const unsigned i = son[c];
  parent[i] = static_cast<uint16_t>(l);
  if (i < TreeNodes) parent[i + 1] = static_cast<uint16_t>(l);
  const unsigned j = son[l];
  son[l] = static_cast<uint16_t>(i);
  parent[j] = static_cast<uint16_t>(c);
  if (j < TreeNodes) parent[j + 1] = static_cast<uint16_t>(c);
  son[c] = static_cast<uint16_t>(j);
  c = l;
}

void AdaptiveTree::Rebuild() {
  // Leaves to the front, counts halved (rounding up).
  int j = 0;
  for (int i = 0; i < TreeNodes; ++i) {
    if (son[i] >= TreeNodes) {
      freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  // Inner nodes: each pair's sum goes in after the last node whose count is not greater.
  for (int i = 0, n = Symbols; n < TreeNodes; i += 2, ++n) {
    const unsigned f = freq[i] + freq[i + 1];
    freq[n] = static_cast<uint16_t>(f);
    int k = n - 1;
    while (f < freq[k]) --k;
    ++k;
    std::memmove(&freq[k + 1], &freq[k], static_cast<size_t>(n - k) * sizeof freq[0]);
    freq[k] = static_cast<uint16_t>(f);
    std::memmove(&son[k + 1], &son[k], static_cast<size_t>(n - k) * sizeof son[0]);
    son[k] = static_cast<uint16_t>(i);
  }
  for (int n = 0; n < TreeNodes; ++n) {
    const unsigned k = son[n];
    parent[k] = static_cast<uint16_t>(n);
    if (k < TreeNodes) parent[k + 1] = static_cast<uint16_t>(n);
  }
}

}  // namespace lzh
