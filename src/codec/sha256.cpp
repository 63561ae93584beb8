#include "codec/sha256.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "env/paths.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif
#ifdef _WIN32
#include <windows.h>
#endif

namespace {
constexpr uint32_t K[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

inline uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// One round. The eight working variables do not move: each call names them in rotated order,
// so that the compiler keeps them where they are instead of shuffling eight values per round.
[[gnu::always_inline]] inline void Round(uint32_t a, uint32_t b, uint32_t c, uint32_t& d, uint32_t e, uint32_t f,
                                         uint32_t g, uint32_t& h, uint32_t kw) {
  const uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + (g ^ (e & (f ^ g))) + kw;
  d += t1;
  h = t1 + (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) | (c & (a | b)));
}

Sha256Blocks chosen = nullptr;  // the same for every thread that sets it
}  // namespace

void Sha256BlocksPortable(uint32_t state[8], const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 64) {
    uint32_t w[64];
    for (int i = 0; i < 16; ++i) w[i] = BigEndian32(blocks + 4 * i);
    for (int i = 16; i < 64; ++i) {
      const uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4], f = state[5], g = state[6],
             h = state[7];
    for (int i = 0; i < 64; i += 8) {
      Round(a, b, c, d, e, f, g, h, K[i] + w[i]);
      Round(h, a, b, c, d, e, f, g, K[i + 1] + w[i + 1]);
      Round(g, h, a, b, c, d, e, f, K[i + 2] + w[i + 2]);
      Round(f, g, h, a, b, c, d, e, K[i + 3] + w[i + 3]);
      Round(e, f, g, h, a, b, c, d, K[i + 4] + w[i + 4]);
      Round(d, e, f, g, h, a, b, c, K[i + 5] + w[i + 5]);
      Round(c, d, e, f, g, h, a, b, K[i + 6] + w[i + 6]);
      Round(b, c, d, e, f, g, h, a, K[i + 7] + w[i + 7]);
    }
    state[0] += a, state[1] += b, state[2] += c, state[3] += d;
    state[4] += e, state[5] += f, state[6] += g, state[7] += h;
  }
}

#if defined(__i386__) || defined(__x86_64__)
// The state lives in two registers as the instructions want it: ABEF and CDGH. Windows keeps
// the 32-bit stack aligned to 4 bytes only; the registers spilled here need 16.
#ifdef __i386__
[[gnu::force_align_arg_pointer]]
#endif
[[gnu::target("sha,sse4.1,ssse3")]] void
Sha256BlocksShaInstructions(uint32_t state[8], const uint8_t* blocks, size_t count) {
  const __m128i byteOrder = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[4];  // the schedule's last sixteen words, four to a register
                   // Unrolled whole, the schedule of the words to come is worked out while the rounds wait
                   // for each other, and w lives in registers.
#pragma GCC unroll 16
    for (int i = 0; i < 16; ++i) {
      __m128i& words = w[i & 3];
      if (i < 4) {
        words = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteOrder);
      } else {
        // w[i-4] + s0(w[i-3]), + w[i-7] (from the two groups before), + s1(w[i-2]).
        const __m128i partial = _mm_add_epi32(_mm_sha256msg1_epu32(words, w[(i - 3) & 3]),
                                              _mm_alignr_epi8(w[(i - 1) & 3], w[(i - 2) & 3], 4));
        words = _mm_sha256msg2_epu32(partial, w[(i - 1) & 3]);
      }
      __m128i kw = _mm_add_epi32(words, _mm_loadu_si128(reinterpret_cast<const __m128i*>(K + 4 * i)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, kw);
      kw = _mm_shuffle_epi32(kw, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, kw);
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}
#endif

bool ShaInstructionsUsable() {
#if defined(__i386__) || defined(__x86_64__)
#ifdef _WIN32
  // The 95 family saves the XMM registers only on some releases; it is never asked.
  if (GetVersion() & 0x80000000) return false;
  using FeaturePresent = BOOL(WINAPI*)(DWORD);
  const auto present = reinterpret_cast<FeaturePresent>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsProcessorFeaturePresent")));
  if (!present || !present(PF_XMMI_INSTRUCTIONS_AVAILABLE)) return false;
#endif
  unsigned a, b, c, d;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool ssse3 = c & (1u << 9), sse41 = c & (1u << 19);
  if (!ssse3 || !sse41 || !__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
  return (b & (1u << 29)) != 0;
#else
  return false;
#endif
}

Sha256Blocks ChosenSha256Blocks() {
  if (!chosen) {
#if defined(__i386__) || defined(__x86_64__)
    chosen = ShaInstructionsUsable() ? Sha256BlocksShaInstructions : Sha256BlocksPortable;
#else
    chosen = Sha256BlocksPortable;
#endif
  }
  return chosen;
}

Sha256::Sha256(Sha256Blocks blocks)
    : blocks_(blocks), h_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                          0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Add(const uint8_t* data, size_t size) {
  length_ += size;
  if (buffered_ > 0) {
    const size_t take = std::min(size, sizeof buffer_ - buffered_);
    std::memcpy(buffer_ + buffered_, data, take);
    buffered_ += take;
    data += take;
    size -= take;
    if (buffered_ < sizeof buffer_) return;
    blocks_(h_, buffer_, 1);
    buffered_ = 0;
  }
  // Whole blocks straight from the data, without a copy.
  const size_t whole = size / sizeof buffer_;
  if (whole > 0) blocks_(h_, data, whole);
  buffered_ = size % sizeof buffer_;
  std::memcpy(buffer_, data + whole * sizeof buffer_, buffered_);
}

std::string Sha256::HexDigest() {
  const uint64_t bits = length_ * 8;
  uint8_t tail[72] = {0x80};
  const size_t padding = (buffered_ < 56 ? 56 : 120) - buffered_;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
  Add(tail, padding + 8);
  static const char Digits[] = "0123456789abcdef";
  std::string hex;
  for (const uint32_t word : h_)
    for (int shift = 28; shift >= 0; shift -= 4) hex += Digits[(word >> shift) & 0xF];
  return hex;
}

bool Sha256::Matches(const std::string& expectedHex) { return HexDigest() == LowerCase(expectedHex); }

std::string Sha256Of(std::string_view bytes) {
  Sha256 digest;
  digest.Add(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return digest.HexDigest();
}

std::optional<std::string> FileSha256(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return std::nullopt;
  Sha256 sha;
  uint8_t block[65536];
  size_t got;
  while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) sha.Add(block, got);
  if (std::ferror(file.get())) return std::nullopt;
  return sha.HexDigest();
}
