// The codec: fixed streams against their exact output, and round trips through our
// compressor on inputs of every awkward kind.
#include <gtest/gtest.h>

#include <random>

#include "codec/lzh_decoder.h"
#include "lzh_encoder.h"
#include "tests/unit/reference_decoder.h"

namespace {
// The stream in pieces of a few bytes, as a slow medium would deliver it.
struct MemorySource {
  const std::vector<uint8_t>& data;
  size_t at = lzh::HeaderSize;
  size_t Read(const uint8_t*& block) {
    const size_t n = std::min<size_t>(at % 7 + 1, data.size() - std::min(at, data.size()));
    block = data.data() + at;
    at += n;
    return n;
  }
};
constexpr size_t SinkBlock = 1000;
struct MemorySink {
  std::vector<uint8_t> out;
  uint8_t buffer[SinkBlock];
  uint8_t* Buffer() { return buffer; }
  bool Write(size_t n) {
    out.insert(out.end(), buffer, buffer + n);
    return true;
  }
};

int32_t StatedSize(const std::vector<uint8_t>& file) {
  return static_cast<int32_t>(file[4] | file[5] << 8 | file[6] << 16 | static_cast<uint32_t>(file[7]) << 24);
}

std::vector<uint8_t> Reason(const char* stop) { return std::vector<uint8_t>(stop, stop + std::strlen(stop)); }

// Decodes a whole compressed file held in memory; a damaged one gives why, in place of bytes.
std::vector<uint8_t> Expand(const std::vector<uint8_t>& file) {
  MemorySource source{file};
  MemorySink sink;
  auto decoder = std::make_unique<lzh::Decoder<MemorySource, MemorySink, SinkBlock>>(source, sink);
  if (const char* stop = decoder->Decode(StatedSize(file))) return Reason(stop);
  return sink.out;
}

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

// Compressed and expanded again, with the plain second decoder agreeing on every byte.
void ExpectRoundTrip(const std::vector<uint8_t>& input, const char* what) {
  const std::vector<uint8_t> packed = lzh::Compress(input);
  ASSERT_GE(packed.size(), 8u);
  EXPECT_EQ(StatedSize(packed), static_cast<int32_t>(input.size())) << what;
  EXPECT_EQ(Expand(packed), input) << what << ", " << input.size() << " bytes";
  EXPECT_EQ(reference::Decode(packed), input) << what << " (plain decoder)";
}
}  // namespace

TEST(LzhDecoder, FixedStreamsGiveTheirExactBytes) {
  EXPECT_EQ(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0})), Bytes({0x61, 0x62, 0x63}));
  EXPECT_EQ(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 10, 0, 0, 0, 0xF6, 0xC9, 0x00, 0x00})), std::vector<uint8_t>(10, 0x61));
  // Nothing to produce: whatever follows the header is ignored.
  EXPECT_TRUE(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 0, 0, 0, 0, 0xFF})).empty());
}

TEST(LzhDecoder, AgreesWithThePlainDecoderOnArbitraryStreams) {
  // Random bits are a valid stream of some content: every symbol and distance occurs,
  // with many tree rebuilds along the way. The plain decoder copies its last match whole;
  // its length becomes the stated size, so that the stream ends on a symbol.
  std::mt19937 random(7);
  for (int round = 0; round < 4; ++round) {
    const uint32_t size = 200000u + static_cast<uint32_t>(round) * 150000u;
    std::vector<uint8_t> file = {0x21, 0x48, 0x5A, 0x4C, 0, 0, 0, 0};
    std::memcpy(&file[4], &size, 4);
    for (uint32_t i = 0; i < size; ++i) file.push_back(static_cast<uint8_t>(random() >> (round * 3)));
    const std::vector<uint8_t> plain = reference::Decode(file);
    ASSERT_GE(plain.size(), size);
    const auto stated = static_cast<uint32_t>(plain.size());
    std::memcpy(&file[4], &stated, 4);
    EXPECT_EQ(Expand(file), plain) << round;
  }
}

TEST(LzhDecoder, AStreamThatEndsTooEarlyIsCorrupt) {
  // The classic decoder reads zero bits past the end: 0x74, then a match of 60 (61 bytes for 5).
  EXPECT_EQ(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 5, 0, 0, 0})), Reason(lzh::StreamEndsEarly));
  // "abc" with its last byte cut off.
  EXPECT_EQ(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD})), Reason(lzh::StreamEndsEarly));
  // A valid stream cut anywhere fails; the whole stream succeeds.
  std::vector<uint8_t> text;
  for (int i = 0; i < 3000; ++i) text.push_back(static_cast<uint8_t>("lorem ipsum dolor "[i % 18] + i / 700));
  const std::vector<uint8_t> packed = lzh::Compress(text);
  for (size_t cut = 8; cut < packed.size(); cut += 7) {
    std::vector<uint8_t> shorter(packed.begin(), packed.begin() + static_cast<long>(cut));
    EXPECT_EQ(Expand(shorter), Reason(lzh::StreamEndsEarly)) << cut;
  }
  EXPECT_EQ(Expand(packed), text);
}

TEST(LzhDecoder, AMatchPastTheStatedSizeIsCorrupt) {
  // Ten bytes of "a" stated as nine: the match of nine would overshoot by one.
  EXPECT_EQ(Expand(Bytes({0x21, 0x48, 0x5A, 0x4C, 9, 0, 0, 0, 0xF6, 0xC9, 0x00, 0x00})), Reason(lzh::MatchPastSize));
}

TEST(LzhRoundTrip, SmallSizesAndEdges) {
  for (size_t n = 0; n <= 61; ++n) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7);
    ExpectRoundTrip(v, "counting");
    ExpectRoundTrip(std::vector<uint8_t>(n, ' '), "blanks");  // matches into the initial fill
  }
  std::mt19937 random(1);
  for (size_t n : {4035u, 4036u, 4037u, 4095u, 4096u, 4097u, 32767u, 32768u, 32769u}) {
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(random() % 5 + 'a');
    ExpectRoundTrip(v, "skewed");
  }
}

TEST(LzhRoundTrip, RandomRepetitiveAndManyRebuilds) {
  std::mt19937 random(2);
  std::vector<uint8_t> noise(200000);
  for (auto& b : noise) b = static_cast<uint8_t>(random());
  ExpectRoundTrip(noise, "random");

  std::vector<uint8_t> zeros(300000, 0);
  ExpectRoundTrip(zeros, "zeros");

  // Text-like data of a few megabytes: hundreds of tree rebuilds.
  std::vector<uint8_t> text;
  const char* words[] = {"Adresse ", "Straße ", "Postleitzahl ", "Ort ", "\r\n", "Telefon: ", "0", "1", "2"};
  while (text.size() < 3'000'000) {
    const char* w = words[random() % 9];
    text.insert(text.end(), w, w + std::char_traits<char>::length(w));
  }
  ExpectRoundTrip(text, "text");
}
