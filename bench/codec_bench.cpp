// The codec's work on one file, for instruction counting under callgrind:
//   codec_bench compress IN OUT   writes IN compressed to OUT
//   codec_bench expand IN OUT     expands IN through the installer's file layer
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "codec/expander.h"
#include "lzh_encoder.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: codec_bench compress|expand IN OUT\n");
    return 2;
  }
  if (std::strcmp(argv[1], "expand") == 0) return ExpandFile(argv[2], argv[3]) ? 0 : 1;
  std::ifstream in(argv[2], std::ios::binary);
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
  const std::vector<uint8_t> packed = lzh::Compress(data);
  std::ofstream(argv[3], std::ios::binary)
      .write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
  std::printf("%zu -> %zu bytes (stream %zu)\n", data.size(), packed.size(), packed.size() - 8);
  return 0;
}
