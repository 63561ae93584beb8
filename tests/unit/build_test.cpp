// distkit build: a distribution folder from a packager's source folder, or nothing at all.
#include "build.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "check.h"
#include "codec/expander.h"

namespace fs = std::filesystem;

namespace {
class BuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("build_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "src");
    Write("SETUP.EXE", "MZ setup");
    for (const char* name : {"Liesmich.txt", "Vertrag.Txt"}) Write("src/" + std::string(name), "Text\r\n");
    Write("src/adressen.exe", std::string(5000, 'A') + "Programm");
    Write("src/ADRESSEN.HLP", "Hilfe");
    Write("src/README.TXT", "plain");
    Write("src/ADRHELP.DLL", "MZ dll");
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(root_ / name, std::ios::binary) << bytes;
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Build() const {
    return BuildDistribution((root_ / "src").string(), (root_ / "dist").string(), (root_ / "SETUP.EXE").string());
  }

  fs::path root_;
};

constexpr char Script[] =
    "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\n"
    "Folder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n"
    "2=ADRESSEN.HL_\r\n3=README.TXT\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n";
}  // namespace

TEST_F(BuildTest, CompressesCopiesAndChecks) {
  Write("src/Setup.lst", Script);
  ASSERT_EQ(Build(), "");
  const fs::path dist = root_ / "dist";
  for (const char* name : {"SETUP.EXE", "Setup.lst", "Liesmich.txt", "Vertrag.Txt", "ADRESSEN.EX_",
                           "ADRESSEN.HL_", "README.TXT", "ADRHELP.DL_"})
    EXPECT_TRUE(fs::exists(dist / name)) << name;
  EXPECT_FALSE(fs::exists(dist / "ADRESSEN.EXE")) << "only what the script names";
  EXPECT_EQ(Read(dist / "README.TXT"), "plain");
  ASSERT_TRUE(ExpandFile((dist / "ADRESSEN.EX_").string(), (root_ / "check.exe").string()));
  EXPECT_EQ(Read(root_ / "check.exe"), std::string(5000, 'A') + "Programm") << "the source's name in any case";
  EXPECT_LT(fs::file_size(dist / "ADRESSEN.EX_"), 1000u);
  EXPECT_TRUE(CheckDistribution(dist.string()).empty()) << FindingsText(CheckDistribution(dist.string()));
  // Built again, the old folder is replaced whole.
  Write("dist/alt.txt", "alt");
  ASSERT_EQ(Build(), "");
  EXPECT_FALSE(fs::exists(dist / "alt.txt"));
}

TEST_F(BuildTest, AFailureLeavesTheEarlierDistributionAsItWas) {
  Write("src/Setup.lst", Script);
  ASSERT_EQ(Build(), "");
  const std::string before = Read(root_ / "dist" / "ADRESSEN.EX_");
  // A source file missing, then a script whose check fails: dest stays, nothing half-built.
  fs::remove(root_ / "src" / "ADRESSEN.HLP");
  EXPECT_NE(Build().find("ADRESSEN.HLP is not in"), std::string::npos);
  Write("src/ADRESSEN.HLP", "Hilfe");
  Write("src/Setup.lst", std::string(Script) + "FEHLT.EXE=Fehlt\r\n");
  EXPECT_EQ(Build(), "the distribution does not pass its check");
  EXPECT_EQ(Read(root_ / "dist" / "ADRESSEN.EX_"), before);
  EXPECT_FALSE(fs::exists(root_ / "dist" / "FEHLT.EXE"));
  for (const fs::directory_entry& entry : fs::directory_iterator(root_))
    EXPECT_EQ(entry.path().filename().string().find("distkit"), std::string::npos) << entry.path();
}

TEST_F(BuildTest, RefusesWhatCannotWork) {
  Write("src/Setup.lst", Script);
  EXPECT_NE(BuildDistribution((root_ / "src").string(), (root_ / "src" / "dist").string(),
                              (root_ / "SETUP.EXE").string()).find("apart"), std::string::npos);
  EXPECT_NE(BuildDistribution((root_ / "src").string(), (root_ / "dist").string(),
                              (root_ / "fehlt.exe").string()).find("--setup-exe"), std::string::npos);
  EXPECT_NE(BuildDistribution((root_ / "nichts").string(), (root_ / "dist").string(),
                              (root_ / "SETUP.EXE").string()).find("not a folder"), std::string::npos);
  EXPECT_FALSE(fs::exists(root_ / "dist"));
}
