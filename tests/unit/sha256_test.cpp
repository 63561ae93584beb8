// SHA-256: each way of computing it against published digests and against the other ways, on
// every length up to a few blocks and on a large buffer fed in uneven pieces.
#include "codec/sha256.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
struct Way {
  const char* name;
  Sha256Blocks blocks;
};

// The portable loop always; the SHA instructions where this processor and system have them.
std::vector<Way> Ways() {
  std::vector<Way> ways{{"portable", Sha256BlocksPortable}};
#if defined(__i386__) || defined(__x86_64__)
  if (ShaInstructionsUsable()) ways.push_back({"SHA instructions", Sha256BlocksShaInstructions});
#endif
  return ways;
}

std::string Digest(Sha256Blocks blocks, const std::string& bytes, size_t piece = 0) {
  Sha256 sha(blocks);
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (piece == 0) piece = bytes.size() + 1;
  for (size_t at = 0; at < bytes.size(); at += piece) sha.Add(data + at, std::min(piece, bytes.size() - at));
  return sha.HexDigest();
}

std::string Noise(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1664525 + 1013904223) >> 24);
  return bytes;
}

TEST(Sha256, PublishedDigestsEachWayAndInAnyPieces) {
  const struct {
    std::string input, digest;
  } vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      // 56 bytes: the length no longer fits the last block.
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu",
       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  std::cout << "SHA-256 computed here: " << (ShaInstructionsUsable() ? "portable and SHA instructions" : "portable only") << "\n";
  for (const Way& way : Ways())
    for (const auto& v : vectors)
      for (const size_t piece : {size_t{0}, size_t{1}, size_t{63}, size_t{65}, size_t{4096}})
        EXPECT_EQ(Digest(way.blocks, v.input, piece), v.digest) << way.name << ", " << v.input.size() << " bytes in pieces of " << piece;
  EXPECT_EQ(Sha256Of("abc"), vectors[1].digest) << "the chosen way";
  Sha256 abc;
  abc.Add(reinterpret_cast<const uint8_t*>("abc"), 3);
  EXPECT_TRUE(abc.Matches("BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD")) << "upper case";
}

TEST(Sha256, TheWaysAgreeOnEveryLengthAndOnALargeBuffer) {
  const std::vector<Way> ways = Ways();
  for (size_t size = 0; size <= 260; ++size) {
    const std::string bytes = Noise(size, static_cast<uint32_t>(size));
    const std::string whole = Digest(ways[0].blocks, bytes);
    for (const Way& way : ways) {
      EXPECT_EQ(Digest(way.blocks, bytes), whole) << way.name << ", " << size << " bytes";
      EXPECT_EQ(Digest(way.blocks, bytes, 7), whole) << way.name << ", " << size << " bytes in pieces of 7";
    }
  }
  const std::string large = Noise(9 << 20, 12345);
  const std::string expected = Digest(ways[0].blocks, large);
  for (const Way& way : ways) EXPECT_EQ(Digest(way.blocks, large, 65536 + 13), expected) << way.name;
}
}  // namespace
