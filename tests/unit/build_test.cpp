// distkit build: a distribution folder from a packager's source folder, or nothing at all.
#include "build.h"

#include <gtest/gtest.h>

#include "bundle.h"
#include "check.h"
#include "codec/payload_format.h"
#include "codec/expander.h"
#include "codec/sha256.h"
#include "lzh_encoder.h"
#include "manifest.h"
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
  std::string Build() const { return BuildDistribution((dir_ / "src").string(), (dir_ / "dist").string(), (dir_ / "SETUP.EXE").string()); }
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
  for (const char* name :
       {"SETUP.EXE", "Setup.lst", "Liesmich.txt", "Vertrag.Txt", "ADRESSEN.EX_", "ADRESSEN.HL_", "README.TXT", "ADRHELP.DL_"})
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
  for (const char* name : {"ADRESSEN.EX_", "ADRESSEN.HL_", "ADRHELP.DL_", "Liesmich.txt", "README.TXT", "SETUP.EXE", "Vertrag.Txt"})
    EXPECT_NE(script.find(std::string("\r\n") + name + "=" + FileSha256((dist / name).string()).value() + "\r\n"), std::string::npos)
        << name;
  // A script taken from a distribution brings its section along: it is replaced, not doubled.
  Write("src/Setup.lst", script);
  ASSERT_EQ(Build(), "");
  EXPECT_EQ(Read(dist / "Setup.lst"), script);
  // Built again, its own earlier folder is replaced whole; a folder that holds anything build
  // did not make there (a note, a folder of the packager's, any other folder's files) is
  // refused and keeps it all.
  for (const std::string foreign : {"dist/Notizen.txt", "dist/Eigenes/a.txt", "fremd/brief.txt"}) {
    fs::create_directories((dir_ / foreign).parent_path());
    Write(foreign, "meins");
    const std::string folder = foreign.substr(0, foreign.find('/')), name = foreign.substr(folder.size() + 1);
    EXPECT_NE(BuildDistribution((dir_ / "src").string(), (dir_ / folder).string(), (dir_ / "SETUP.EXE").string())
                  .find(" holds " + name.substr(0, name.find('/')) + ", which distkit build did not make"),
              std::string::npos)
        << foreign;
    EXPECT_EQ(Read(dir_ / foreign), "meins");
    fs::remove_all(dir_ / folder / name.substr(0, name.find('/')));
  }
  EXPECT_TRUE(fs::exists(dist / "ADRESSEN.EX_"));
  ASSERT_EQ(Build(), "");
}

// A name outside ASCII, in a CP1252 script and in a UTF-8 one: the source file found under its
// (UTF-8) name, its checksum written in the script's own encoding, the manifest's names whole.
TEST_F(BuildTest, NamesKeepTheScriptsEncoding) {
  const struct {
    std::string script, file, recorded;
  } rows[] = {{"\xDC"
               "bersicht.txt",
               "Übersicht.txt",
               "\r\n\xDC"
               "bersicht.txt="},
              {"\xEF\xBB\xBF"
               "Łódź.txt",
               "Łódź.txt", "\r\nŁódź.txt="}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file);
    const bool utf8 = row.script.starts_with("\xEF");
    const std::string head = utf8 ? "\xEF\xBB\xBF" : "";
    Write("src/" + row.file, "Inhalt");
    Write("src/Setup.lst", head + "[General]\r\nVersion=1.0\r\nPublisher=" + (utf8 ? "Kästner" : "K\xE4stner") +
                               "\r\n[StartMenu]\r\nFolder=Kasse\r\n[Group]\r\nName=Kasse\r\n[programfiles]\r\n1=" +
                               row.script.substr(head.size()) + "\r\n[Items]\r\n" + row.script.substr(head.size()) + "=Kasse\r\n");
    ASSERT_EQ(Build(), "");
    EXPECT_EQ(Read(dir_ / "dist" / row.file), "Inhalt");
    EXPECT_NE(Read(dir_ / "dist" / "Setup.lst").find(row.recorded), std::string::npos) << Read(dir_ / "dist" / "Setup.lst");
    Registration registration;
    ASSERT_EQ(ReadRegistration((dir_ / "dist").string(), registration), "");
    EXPECT_EQ(registration.publisher, "Kästner");
    fs::remove(dir_ / "src" / row.file);
  }
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
  EXPECT_NE(BuildDistribution((dir_ / "src").string(), (dir_ / "src" / "dist").string(), (dir_ / "SETUP.EXE").string()).find("apart"),
            std::string::npos);
  EXPECT_NE(BuildDistribution((dir_ / "src").string(), (dir_ / "dist").string(), (dir_ / "fehlt.exe").string()).find("--setup-exe"),
            std::string::npos);
  EXPECT_NE(BuildDistribution((dir_ / "nichts").string(), (dir_ / "dist").string(), (dir_ / "SETUP.EXE").string()).find("not a folder"),
            std::string::npos);
  // A compressed name with a four-character extension: the three-character rule said.
  Write("src/Setup.lst", "[programfiles]\r\n1=MINEN.EXE_\r\n");
  EXPECT_NE(Build().find("MINEN.EXE_: a compressed name has a three-character extension with \"_\" third (MINEN.EX_)"), std::string::npos)
      << Build();
  EXPECT_FALSE(fs::exists(dir_ / "dist"));
}

// A file put in the source already compressed, under its compressed name, is copied as it is.
TEST_F(BuildTest, ASourceCompressedAlreadyIsCopiedAsItIs) {
  const std::vector<uint8_t> packed = lzh::Compress(std::vector<uint8_t>(100, 'x'));
  Write("src/DATEN.XY_", std::string(packed.begin(), packed.end()));
  Write("src/Setup.lst", "[General]\r\nName=A\r\n[programfiles]\r\n1=DATEN.XY_\r\n");
  ASSERT_EQ(Build(), "");
  EXPECT_EQ(Read(dir_ / "dist" / "DATEN.XY_"), std::string(packed.begin(), packed.end()));
}

namespace {
// A PE program of one section: 0x200 bytes of headers and 0x200 of code, then the given
// certificate table, which its security directory names.
std::string FakeProgram(const std::string& certificate) {
  std::string image(0x400, '\0');
  const auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image[at + i] = static_cast<char>(value >> (8 * i));
  };
  image[0] = 'M', image[1] = 'Z';
  put(0x3C, 0x40, 4);
  image.replace(0x40, 4, std::string("PE\0\0", 4));
  put(0x46, 1, 2);           // one section
  put(0x54, 224, 2);         // the optional header's size
  put(0x58, 0x10B, 2);       // PE32
  put(0x58 + 60, 0x200, 4);  // the headers' size
  put(0x58 + 92, 16, 4);     // directories
  if (!certificate.empty()) put(0x58 + 128, 0x400, 4), put(0x58 + 132, static_cast<uint32_t>(certificate.size()), 4);
  put(0x58 + 224 + 16, 0x200, 4);  // the section's raw size and place
  put(0x58 + 224 + 20, 0x200, 4);
  return image + certificate;
}
}  // namespace

// distkit bundle: the program, then every file of the folder, which SETUP.EXE finds through
// the PE header and checks whole. (A real signature, taken off and made anew, is tested with
// osslsigncode among the Wine tests.)
TEST_F(BuildTest, ABundleCarriesEveryFileAfterTheProgram) {
  Write("src/Setup.lst", Script);
  Write("SETUP.EXE", FakeProgram(""));
  ASSERT_EQ(Build(), "");
  const std::string out = Path("Adressen-Setup.exe");
  ASSERT_EQ(BundleDistribution(Path("dist"), out, {}), "");
  const std::string bundle = Read(out);
  const auto appended = payload::FindAppended(bundle, bundle.size());
  ASSERT_TRUE(appended);
  EXPECT_EQ(appended->begin, 0x400u);
  EXPECT_EQ(appended->end, bundle.size());
  // The program as built, but marked as one that carries files (so that cut where they begin
  // it is known for cut).
  std::string marked = FakeProgram("");
  payload::MarkAsCarrier(marked);
  EXPECT_EQ(bundle.substr(0, 0x400), marked.substr(0, 0x400));
  EXPECT_TRUE(payload::MarkedAsCarrier(bundle));
  EXPECT_FALSE(payload::MarkedAsCarrier(FakeProgram("")));
  const std::string carried = bundle.substr(0x400);
  ASSERT_EQ(payload::PayloadLength(carried), carried.size());
  const payload::Trailer trailer = payload::ReadTrailer(carried.substr(carried.size() - payload::TrailerSize));
  EXPECT_EQ(Sha256Of(carried.substr(0, carried.size() - payload::DigestSize)), trailer.digest);
  const std::string tableBytes = carried.substr(trailer.tableOffset, carried.size() - payload::TrailerSize - trailer.tableOffset);
  const auto table = payload::ReadTable(tableBytes, trailer);
  ASSERT_TRUE(table);
  std::vector<std::string> names;
  for (const payload::Entry& entry : *table) {
    names.push_back(entry.name);
    EXPECT_EQ(carried.substr(entry.offset, entry.size), Read(dir_ / "dist" / entry.name)) << entry.name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"ADRESSEN.EX_", "ADRESSEN.HL_", "ADRHELP.DL_", "Liesmich.txt", "README.TXT", "SETUP.EXE",
                                             "Setup.lst", "Vertrag.Txt"}));
  // A table whose entry reaches past the files, or that ends early, is refused.
  for (const uint32_t count : {trailer.count - 1, trailer.count + 1}) {
    payload::Trailer wrong = trailer;
    wrong.count = count;
    EXPECT_FALSE(payload::ReadTable(tableBytes, wrong));
  }
  payload::Trailer early = trailer;
  early.tableOffset = table->back().offset;
  EXPECT_FALSE(payload::ReadTable(tableBytes, early));
  // Signed, the certificate table follows the payload; cut inside it, the program is cut.
  const std::string header = FakeProgram(carried + "certificate").substr(0, 0x400);
  const auto inside = payload::FindAppended(header, 0x400 + carried.size() + 5);
  ASSERT_TRUE(inside);
  EXPECT_TRUE(inside->cut);
  EXPECT_FALSE(payload::FindAppended("MZ no program", 13));
  // Numbers of a hostile file that overflow 32 bits: no program, or one cut short; never a
  // place inside the program. (The first made the reader fail outright: pe_fuzz found it.)
  std::string hostile = FakeProgram("");
  hostile.replace(0x3C, 4, "\xF0\xFF\xFF\xFF", 4);
  EXPECT_FALSE(payload::FindAppended(hostile, hostile.size()));
  hostile = FakeProgram("");
  hostile.replace(0x58 + 224 + 20, 4, "\x00\xFF\xFF\xFF", 4);  // a section at 4 GB - 256
  const auto wrapped = payload::FindAppended(hostile, hostile.size());
  ASSERT_TRUE(wrapped);
  EXPECT_TRUE(wrapped->cut);
  // Names no distribution folder holds: refused, the digest correct or not.
  for (const char* name : {"..\\A.TXT", "C:A.TXT", "A\\B.TXT", "CON", "nul.txt", "A?.TXT"}) {
    const std::string made = payload::Make({{name, 0, 0, 0}}, {"Hallo"});
    const payload::Trailer t = payload::ReadTrailer(made.substr(made.size() - payload::TrailerSize));
    EXPECT_FALSE(payload::ReadTable(made.substr(t.tableOffset, made.size() - payload::TrailerSize - t.tableOffset), t)) << name;
  }
  // Never into the folder itself, where the next bundle would carry it.
  for (const std::string& dest : {Path("dist"), Path("dist") + "/"})
    EXPECT_NE(BundleDistribution(dest, Path("dist/Adressen-Setup.exe"), {}).find("outside"), std::string::npos);
  // Without the checksums of distkit build there is no bundle.
  Write("dist/Setup.lst", Script);
  EXPECT_NE(BundleDistribution(Path("dist"), Path("other.exe"), {}).find("[SHA256]"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("other.exe")));
}
