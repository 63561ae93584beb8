// distkit build: a distribution folder from a packager's source folder, or nothing at all.
#include "build.h"

#include <gtest/gtest.h>

#include "check.h"
#include "codec/expander.h"
#include "codec/sha256.h"
#include "tests/unit/temp_folder.h"

namespace fs = std::filesystem;

namespace {
class BuildTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    fs::create_directories(dir_ / "src");
    Write("SETUP.EXE", "MZ setup");
    for (const char* name : {"Liesmich.txt", "Vertrag.Txt"}) Write("src/" + std::string(name), "Text\r\n");
    Write("src/adressen.exe", std::string(5000, 'A') + "Programm");
    Write("src/ADRESSEN.HLP", "Hilfe");
    Write("src/README.TXT", "plain");
    Write("src/ADRHELP.DLL", "MZ dll");
  }
  std::string Build() const {
    return BuildDistribution((dir_ / "src").string(), (dir_ / "dist").string(), (dir_ / "SETUP.EXE").string());
  }
};

constexpr char Script[] =
    "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\nVersion=1.0\r\nPublisher=M\r\n[StartMenu]\r\n"
    "Folder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n"
    "2=ADRESSEN.HL_\r\n3=README.TXT\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n";
}  // namespace

TEST_F(BuildTest, CompressesCopiesAndChecks) {
  Write("src/Setup.lst", Script);
  ASSERT_EQ(Build(), "");
  const fs::path dist = dir_ / "dist";
  for (const char* name : {"SETUP.EXE", "Setup.lst", "Liesmich.txt", "Vertrag.Txt", "ADRESSEN.EX_",
                           "ADRESSEN.HL_", "README.TXT", "ADRHELP.DL_"})
    EXPECT_TRUE(fs::exists(dist / name)) << name;
  EXPECT_FALSE(fs::exists(dist / "ADRESSEN.EXE")) << "only what the script names";
  EXPECT_EQ(Read(dist / "README.TXT"), "plain");
  ASSERT_TRUE(ExpandFile((dist / "ADRESSEN.EX_").string(), (dir_ / "check.exe").string()));
  EXPECT_EQ(Read(dir_ / "check.exe"), std::string(5000, 'A') + "Programm") << "the source's name in any case";
  EXPECT_LT(fs::file_size(dist / "ADRESSEN.EX_"), 1000u);
  const std::vector<Finding> findings = CheckDistribution(dist.string());
  EXPECT_EQ(findings.size(), 1u) << FindingsText(findings) << "only that SETUP.EXE is not signed";
  // Every file the installer reads has its checksum, the script itself aside.
  const std::string script = Read(dist / "Setup.lst");
  const size_t section = script.find("\r\n[SHA256]\r\n");
  ASSERT_NE(section, std::string::npos) << script;
  EXPECT_EQ(script.substr(0, section + 2), Script) << "the script as written, the section after it";
  for (const char* name : {"ADRESSEN.EX_", "ADRESSEN.HL_", "ADRHELP.DL_", "Liesmich.txt", "README.TXT", "SETUP.EXE",
                           "Vertrag.Txt"})
    EXPECT_NE(script.find(std::string("\r\n") + name + "=" + FileSha256((dist / name).string()).value() + "\r\n"),
              std::string::npos)
        << name;
  // A script taken from a distribution brings its section along: it is replaced, not doubled.
  Write("src/Setup.lst", script);
  ASSERT_EQ(Build(), "");
  EXPECT_EQ(Read(dist / "Setup.lst"), script);
  // Built again, the old folder is replaced whole.
  Write("dist/alt.txt", "alt");
  ASSERT_EQ(Build(), "");
  EXPECT_FALSE(fs::exists(dist / "alt.txt"));
}

TEST_F(BuildTest, TwoBuildsOfOneSourceGiveTheSameFilesAndTimes) {
  Write("src/Setup.lst", Script);
  const auto time = [](const fs::path& p) { return fs::last_write_time(p).time_since_epoch(); };
  for (const char* epoch : {"", "1700000000"}) {
    SCOPED_TRACE(epoch);
    setenv("SOURCE_DATE_EPOCH", epoch, 1);
    for (const char* dest : {"dist", "dist2"})
      ASSERT_EQ(BuildDistribution((dir_ / "src").string(), (dir_ / dest).string(), (dir_ / "SETUP.EXE").string()), "");
    for (const fs::directory_entry& file : fs::directory_iterator(dir_ / "dist")) {
      const fs::path twin = dir_ / "dist2" / file.path().filename();
      EXPECT_EQ(Read(file.path()), Read(twin)) << file.path();
      EXPECT_EQ(time(file.path()), time(twin)) << file.path();
    }
    const auto expected = *epoch ? std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1700000000)))
                                 : fs::last_write_time(dir_ / "src" / "adressen.exe");
    EXPECT_EQ(time(dir_ / "dist" / "ADRESSEN.EX_"), expected.time_since_epoch());
  }
  setenv("SOURCE_DATE_EPOCH", "gestern", 1);
  EXPECT_EQ(Build(), "SOURCE_DATE_EPOCH \"gestern\" is not a number of seconds");
  unsetenv("SOURCE_DATE_EPOCH");
}

TEST_F(BuildTest, AFailureLeavesTheEarlierDistributionAsItWas) {
  Write("src/Setup.lst", Script);
  ASSERT_EQ(Build(), "");
  const std::string before = Read(dir_ / "dist" / "ADRESSEN.EX_");
  // A source file missing, then a script whose check fails: dest stays, nothing half-built.
  fs::remove(dir_ / "src" / "ADRESSEN.HLP");
  EXPECT_NE(Build().find("ADRESSEN.HLP is not in"), std::string::npos);
  Write("src/ADRESSEN.HLP", "Hilfe");
  Write("src/Setup.lst", std::string(Script) + "FEHLT.EXE=Fehlt\r\n");
  EXPECT_EQ(Build(), "the distribution does not pass its check");
  EXPECT_EQ(Read(dir_ / "dist" / "ADRESSEN.EX_"), before);
  EXPECT_FALSE(fs::exists(dir_ / "dist" / "FEHLT.EXE"));
  for (const fs::directory_entry& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename().string().find("distkit"), std::string::npos) << entry.path();
}

TEST_F(BuildTest, RefusesWhatCannotWork) {
  Write("src/Setup.lst", Script);
  EXPECT_NE(BuildDistribution((dir_ / "src").string(), (dir_ / "src" / "dist").string(),
                              (dir_ / "SETUP.EXE").string()).find("apart"), std::string::npos);
  EXPECT_NE(BuildDistribution((dir_ / "src").string(), (dir_ / "dist").string(),
                              (dir_ / "fehlt.exe").string()).find("--setup-exe"), std::string::npos);
  EXPECT_NE(BuildDistribution((dir_ / "nichts").string(), (dir_ / "dist").string(),
                              (dir_ / "SETUP.EXE").string()).find("not a folder"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "dist"));
}
