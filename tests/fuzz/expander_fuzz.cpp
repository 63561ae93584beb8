// libFuzzer harness: any bytes as a compressed file, through the header checks and the
// decoder. It must never crash, read or write out of bounds, or produce more than the
// stated size.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codec/lzh_decoder.h"

namespace {
struct Source {
  const uint8_t* data;
  size_t size;
  bool given = false;
  size_t Read(const uint8_t*& block) {
    block = data;
    const size_t n = given ? 0 : size;  // all at once, then the end of the stream
    given = true;
    return n;
  }
};

constexpr size_t Block = 4096;
struct Sink {
  uint8_t buffer[Block];
  int64_t total = 0;
  uint8_t* Buffer() { return buffer; }
  bool Write(size_t n) {
    if (n > Block) std::abort();
    total += static_cast<int64_t>(n);
    return true;
  }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < lzh::HeaderSize || std::memcmp(data, lzh::Signature, 4) != 0) return 0;
  int32_t stated;
  std::memcpy(&stated, data + 4, 4);
  if (stated < 0) return 0;
  // A stream of n bytes can state 2 GiB and yet produce 480 n bytes before its bits run
  // out; a smaller bound keeps the runs fast without hiding anything of the decoder.
  if (stated > (1 << 16)) stated = 1 << 16;
  Source source{data + lzh::HeaderSize, size - lzh::HeaderSize};
  static Sink sink;
  sink.total = 0;
  auto* decoder = new lzh::Decoder<Source, Sink, Block>(source, sink);
  if (!decoder->Decode(stated)) {
    if (sink.total != stated) std::abort();  // a good stream gives exactly its size
  } else if (sink.total > stated) {
    std::abort();
  }
  delete decoder;
  return 0;
}
