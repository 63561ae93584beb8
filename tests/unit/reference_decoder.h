// A second decoder, written the plain way (one bit at a time, the parent table with its
// leaf entries, counts as 16-bit words), with nothing shared with the real one but the
// constants. The tests hold the fast decoder to it, rebuilds included.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

namespace reference {

inline std::vector<uint8_t> Decode(const std::vector<uint8_t>& file) {
  constexpr int N = 4096, F = 60, NChar = 256 - 2 + F, T = NChar * 2 - 1, R = T - 1;
  std::vector<uint16_t> freq(T + 1), son(T), prnt(T + NChar);
  for (int i = 0; i < NChar; ++i) {
    freq[i] = 1;
    son[i] = static_cast<uint16_t>(i + T);
    prnt[i + T] = static_cast<uint16_t>(i);
  }
  for (int i = 0, j = NChar; j <= R; i += 2, ++j) {
    freq[j] = static_cast<uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<uint16_t>(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;

  size_t at = 8;
  unsigned buffer = 0, length = 0;
  auto bit = [&]() -> unsigned {
    while (length <= 8) {
      const unsigned byte = at < file.size() ? file[at++] : 0;
      buffer |= byte << (8 - length);
      length += 8;
    }
    const unsigned b = (buffer >> 15) & 1;
    buffer = (buffer << 1) & 0xFFFF;
    --length;
    return b;
  };

  auto reconst = [&] {
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (son[i] >= T) {
        freq[j] = static_cast<uint16_t>((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    for (int i = 0, n = NChar; n < T; i += 2, ++n) {
      const unsigned f = freq[i] + freq[i + 1];
      freq[n] = static_cast<uint16_t>(f);
      int k = n - 1;
      while (f < freq[k]) --k;
      ++k;
      for (int m = n; m > k; --m) {
        freq[m] = freq[m - 1];
        son[m] = son[m - 1];
      }
      freq[k] = static_cast<uint16_t>(f);
      son[k] = static_cast<uint16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
      const int k = son[i];
      if (k >= T)
        prnt[k] = static_cast<uint16_t>(i);
      else
        prnt[k] = prnt[k + 1] = static_cast<uint16_t>(i);
    }
  };

  auto update = [&](int c) {
    if (freq[R] == 0x8000) reconst();
    c = prnt[c + T];
    do {
      const unsigned k = ++freq[c];
      if (k > freq[c + 1]) {
        int l = c + 1;
        while (k > freq[l + 1]) ++l;
        freq[c] = freq[l];
        freq[l] = static_cast<uint16_t>(k);
        const int i = son[c];
        prnt[i] = static_cast<uint16_t>(l);
        if (i < T) prnt[i + 1] = static_cast<uint16_t>(l);
        const int j = son[l];
        son[l] = static_cast<uint16_t>(i);
        prnt[j] = static_cast<uint16_t>(c);
        if (j < T) prnt[j + 1] = static_cast<uint16_t>(c);
        son[c] = static_cast<uint16_t>(j);
        c = l;
      }
    } while ((c = prnt[c]) != 0);
  };

  // The position code's upper six bits: canonical, by code length.
  uint8_t dcode[256], dlen[256];
  for (int v = 0, len = 3, i = 0; len <= 8; ++len) {
    const int count[] = {1, 3, 8, 12, 24, 16};
    for (int n = 0; n < count[len - 3]; ++n, ++v)
      for (int e = 0; e < (1 << (8 - len)); ++e, ++i) {
        dcode[i] = static_cast<uint8_t>(v);
        dlen[i] = static_cast<uint8_t>(len);
      }
  }

  int32_t size;
  std::memcpy(&size, file.data() + 4, 4);
  std::vector<uint8_t> text(N + F - 1, ' '), out;
  unsigned r = N - F;
  while (static_cast<int64_t>(out.size()) < size) {
    unsigned c = son[R];
    while (c < static_cast<unsigned>(T)) c = son[c + bit()];
    c -= T;
    update(static_cast<int>(c));
    if (c < 256) {
      out.push_back(static_cast<uint8_t>(c));
      text[r++] = static_cast<uint8_t>(c);
      r &= N - 1;
    } else {
      unsigned i = 0;
      for (int b = 0; b < 8; ++b) i = i * 2 + bit();
      const unsigned upper = dcode[i];
      const int extra = dlen[i] - 2;
      for (int b = 0; b < extra; ++b) i = i * 2 + bit();
      const unsigned p = upper << 6 | (i & 63);
      const unsigned from = (r - p - 1) & (N - 1);
      for (unsigned k = 0; k < c - 253; ++k) {
        const uint8_t b = text[(from + k) & (N - 1)];
        out.push_back(b);
        text[r++] = b;
        r &= N - 1;
      }
    }
  }
  return out;
}

}  // namespace reference
