// The compressor of the distribution's format (see src/codec/lzh_format.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lzh {

struct EncoderOptions {
  int chainDepth = 32;    // match candidates looked at per position
  int blockSize = 16384;  // positions parsed together with one set of symbol prices
};

// The whole compressed file: header and stream. progress, if given, is called now and then
// with the bytes done so far.
std::vector<uint8_t> Compress(const std::vector<uint8_t>& input, const EncoderOptions& options = {},
                              void (*progress)(size_t done, size_t total, void* context) = nullptr,
                              void* context = nullptr);

}  // namespace lzh
