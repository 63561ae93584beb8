// The expander's file layer: every failure with its message and no target left behind.
#include "codec/expander.h"

#include <gtest/gtest.h>

#include "codec/sha256.h"
#include "env/paths.h"
#include "lzh_encoder.h"
#include "tests/unit/temp_folder.h"

namespace fs = std::filesystem;

namespace {
class ExpanderTest : public TempFolderTest {
 protected:
  // The message ExpandFileChecked fails with; empty when it succeeds.
  static std::string Failure(const std::string& source, const std::string& target) {
    const auto failure = ExpandFileChecked(source, target);
    EXPECT_EQ(ExpandFile(source, target), !failure) << "the flag must agree";
    return failure ? failure->message : std::string();
  }
};

std::vector<uint8_t> Header(int32_t size) {
  std::vector<uint8_t> h = {0x21, 0x48, 0x5A, 0x4C};
  for (int shift = 0; shift < 32; shift += 8) h.push_back(static_cast<uint8_t>(static_cast<uint32_t>(size) >> shift));
  return h;
}
}  // namespace

TEST_F(ExpanderTest, FailuresNameTheFileAndLeaveNoTarget) {
  const std::string target = Path("out.exe");
  struct Row {
    std::vector<uint8_t> file;
    std::string message;  // the source path goes where "%" stands
  };
  const Row rows[] = {
      {{'M', 'Z', 0x90, 0, 3, 0, 0, 0}, "%: Keine komprimierte Datei!"},
      {{0x21, 0x48, 0x5A}, "ERROR READING FROM % !"},
      {{0x21, 0x48, 0x5A, 0x4C, 3, 0}, "ERROR READING FROM % !"},
      {{}, "ERROR READING FROM % !"},
      {Header(5), "%: Beschädigte komprimierte Datei (the stream ends too early)"},
      {Header(-1), "%: Beschädigte komprimierte Datei (negative Größe)"},
      {{0x21, 0x48, 0x5A, 0x4C, 9, 0, 0, 0, 0xF6, 0xC9, 0x00, 0x00},
       "%: Beschädigte komprimierte Datei (a match runs past the stated size)"},
  };
  for (const Row& row : rows) {
    const std::string source = WriteBytes("in.ex_", row.file);
    std::string expected = row.message;
    expected.replace(expected.find('%'), 1, source);
    EXPECT_EQ(Failure(source, target), expected);
    EXPECT_FALSE(fs::exists(target)) << expected;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << "nothing but the source is left: " << expected;
  }
}

TEST_F(ExpanderTest, AFailedExpansionLeavesAnEarlierTargetAsItWas) {
  const std::string target = WriteBytes("ADRHELP.DLL", {'a', 'l', 't'});
  const std::string cut = WriteBytes("ADRHELP.DL_", Header(5000));
  EXPECT_FALSE(ExpandFile(cut, target));
  EXPECT_EQ(ReadBytes(target), (std::vector<uint8_t>{'a', 'l', 't'}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(ExpanderTest, MissingSourceAndUnwritableTarget) {
  EXPECT_EQ(Failure(Path("gone.ex_"), Path("out.exe")), Path("gone.ex_") + " nicht gefunden!");
  const std::string source = WriteBytes("in.ex_", {0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0});
  const std::string target = Path("no such folder/out.exe");
  EXPECT_EQ(Failure(source, target), "Konnte " + target + " nicht öffnen!");
}

TEST_F(ExpanderTest, ASourceIsNeverExpandedOntoItself) {
  const std::vector<uint8_t> packed = {0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0};
  const std::string source = WriteBytes("SAME.XY_", packed);
  EXPECT_FALSE(ExpandFile(source, source));
  EXPECT_FALSE(ExpandFile(source, (dir_ / "." / "SAME.XY_").string()));
  EXPECT_EQ(ReadBytes(source), packed);
}

TEST_F(ExpanderTest, GoodFilesOfEverySize) {
  for (size_t n : {0u, 1u, 3u, 32767u, 32768u, 32769u, 100000u}) {
    std::vector<uint8_t> data(n);
    for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>((i * i) >> 7);
    const std::string source = WriteBytes("data.da_", lzh::Compress(data));
    ASSERT_TRUE(ExpandFile(source, Path("data.dat"))) << n;
    EXPECT_EQ(ReadBytes(Path("data.dat")), data) << n;
  }
  // A stated size of 0 gives an empty file whatever follows.
  std::vector<uint8_t> zero = Header(0);
  zero.push_back(0xAB);
  ASSERT_TRUE(ExpandFile(WriteBytes("z.da_", zero), Path("z.dat")));
  EXPECT_EQ(fs::file_size(Path("z.dat")), 0u);
  // An existing target is replaced.
  WriteBytes("old.txt", {'o', 'l', 'd', '!', '!'});
  ASSERT_TRUE(ExpandFile(WriteBytes("abc.tx_", {0x21, 0x48, 0x5A, 0x4C, 3, 0, 0, 0, 0xF6, 0xFB, 0xBD, 0xE0}), Path("old.txt")));
  EXPECT_EQ(ReadBytes(Path("old.txt")), (std::vector<uint8_t>{'a', 'b', 'c'}));
}

TEST_F(ExpanderTest, TheHookRunsOnceWhenTheFileIsWholeAndBeforeItTakesTheTargetsName) {
  const std::vector<uint8_t> content(70000, 'x');
  const std::string source = WriteBytes("good.ex_", lzh::Compress(content));
  const std::string target = Path("good.exe");
  fs::create_directories(dir_ / "scratch");
  const std::string scratch = (dir_ / "scratch").string();
  int calls = 0;
  ASSERT_TRUE(ExpandFile(source, target, scratch, [&](const std::string& temporary) {
    ++calls;
    EXPECT_FALSE(fs::exists(target));
    // The whole expansion waits in the scratch folder.
    std::vector<fs::path> waiting(fs::directory_iterator(dir_ / "scratch"), {});
    EXPECT_EQ(waiting.size(), 1u);
    for (const fs::path& file : waiting) EXPECT_EQ(fs::file_size(file), content.size());
    EXPECT_EQ(waiting.size() == 1 ? waiting[0].string() : "", temporary);
    return Placement::Move;
  }));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ReadBytes(target), content);
  EXPECT_TRUE(fs::is_empty(dir_ / "scratch"));

  // A damaged file never reaches the hook.
  std::vector<uint8_t> cut = lzh::Compress(content);
  cut.resize(cut.size() / 2);
  EXPECT_FALSE(ExpandFile(WriteBytes("cut.ex_", cut), Path("cut.exe"), scratch, [&](const std::string&) {
    ++calls;
    return Placement::Move;
  }));
  EXPECT_EQ(calls, 1);

  // A hook that refuses (the log cannot be written) stops it, and nothing is left behind.
  EXPECT_FALSE(ExpandFile(source, Path("other.exe"), scratch, [](const std::string&) { return Placement::Refuse; }));
  EXPECT_FALSE(fs::exists(Path("other.exe")));
  EXPECT_TRUE(fs::is_empty(dir_ / "scratch"));

  // A hook that takes the finished file over (to put it in place at the next restart) keeps it.
  std::string kept;
  EXPECT_TRUE(ExpandFile(source, Path("later.exe"), scratch, [&](const std::string& temporary) {
    kept = temporary;
    return Placement::Done;
  }));
  EXPECT_FALSE(fs::exists(Path("later.exe")));
  EXPECT_EQ(ReadBytes(kept), content);
}

// With the distribution's checksum, the file's every byte counts, those after the stream too;
// a damaged file is called so whatever else its bytes make the decoder say, and no target
// is left.
TEST_F(ExpanderTest, AChecksumRefusesEveryChangedByteAndCallsItDamaged) {
  const std::vector<uint8_t> content(5000, 'y');
  const std::vector<uint8_t> packed = lzh::Compress(content);
  const auto sha = [](const std::vector<uint8_t>& bytes) {
    return Sha256Of(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  };
  std::vector<uint8_t> trailing = packed, flipped = packed, cut = packed;
  trailing.push_back(0);
  flipped[flipped.size() / 2] ^= 0x10;
  cut.resize(cut.size() - 3);
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    bool expands, damaged;
  } rows[] = {
      {"good", packed, true, false},
      {"trailing", trailing, false, true},  // the stream itself would expand
      {"flipped", flipped, false, true},
      {"cut", cut, false, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string target = Path(std::string(row.name) + ".exe");
    const auto failure = ExpandFileChecked(WriteBytes(std::string(row.name) + ".ex_", row.bytes), target, {}, {}, UpperCase(sha(packed)));
    EXPECT_EQ(!failure, row.expands);
    EXPECT_EQ(failure && failure->damaged, row.damaged);
    EXPECT_EQ(fs::exists(target), row.expands);
  }
  // Without one, only the stream counts, as before.
  EXPECT_TRUE(ExpandFile(WriteBytes("plain.ex_", trailing), Path("plain.exe")));
}
