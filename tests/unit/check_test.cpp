// The toolkit's check of a distribution folder: every error and warning it knows, with the
// line it points at.
#include "check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "codec/sha256.h"
#include "lzh_encoder.h"
#include "tests/unit/temp_folder.h"

namespace fs = std::filesystem;

namespace {
class CheckTest : public TempFolderTest {
 protected:
  void WriteCompressed(const std::string& name, const std::string& content) const {
    const std::vector<uint8_t> packed = lzh::Compress(std::vector<uint8_t>(content.begin(), content.end()));
    Write(name, std::string(packed.begin(), packed.end()));
  }
  // A distribution that passes: the example's script and files.
  void WriteGood() const {
    Write("SETUP.EXE", "MZ");
    Write("Liesmich.txt", "Neu.\r\n");
    Write("Vertrag.Txt", "Vertrag.\r\n");
    for (const char* name : {"ADRESSEN.EX_", "ADRESSEN.HL_", "ADRHELP.DL_"}) WriteCompressed(name, name);
  }
  std::vector<Finding> Check() const { return CheckDistribution(dir_.string()); }
  // The checksum section for these files as they lie in the folder now.
  std::string Checksums(const std::vector<std::string>& names) const {
    std::string section = "[SHA256]\r\n";
    for (const std::string& name : names) section += name + "=" + FileSha256((dir_ / name).string()).value() + "\r\n";
    return section;
  }
};

constexpr char GoodScript[] =
    "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\nVersion=1.0\r\n"
    "Publisher=Muster Software\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n"
    "2=ADRESSEN.HL_\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n"
    "ADRESSEN.HLP=Hilfe\r\n";

// The findings as "line: text" for the ones whose message contains part.
std::vector<std::string> Matching(const std::vector<Finding>& findings, const std::string& part) {
  std::vector<std::string> found;
  for (const Finding& f : findings)
    if (f.message.find(part) != std::string::npos) found.push_back(std::to_string(f.line) + (f.error ? " error" : " warning"));
  return found;
}
using Lines = std::vector<std::string>;
// Each part of a message with the lines of the findings it is in.
void ExpectFindings(const std::vector<Finding>& findings, const std::vector<std::pair<std::string, Lines>>& expected) {
  for (const auto& [part, lines] : expected) EXPECT_EQ(Matching(findings, part), lines) << part << "\n" << FindingsText(findings);
}
}  // namespace

TEST_F(CheckTest, AGoodDistributionPassesWithOnlyItsMissingSignatureSaid) {
  WriteGood();
  Write("Setup.lst", GoodScript + Checksums({"ADRESSEN.EX_", "ADRESSEN.HL_", "ADRHELP.DL_", "Liesmich.txt", "Vertrag.Txt", "SETUP.EXE"}));
  const std::vector<Finding> findings = Check();
  EXPECT_EQ(Matching(findings, "not signed"), Lines{"0 warning"}) << FindingsText(findings);
  EXPECT_EQ(findings.size(), 1u);
  EXPECT_EQ(CheckExitStatus(findings, false), 0);
}

// A byte changed, the size kept: the installer would refuse the file; one without a
// checksum it could not tell; a script without the section at all cannot tell any.
TEST_F(CheckTest, ChecksumsFindDamagedFilesAndFilesWithoutOne) {
  WriteGood();
  const std::string section = Checksums({"ADRESSEN.EX_", "ADRESSEN.HL_", "Liesmich.txt", "Vertrag.Txt", "SETUP.EXE"});
  Write("Setup.lst", GoodScript + section);
  const std::string packed = Read(dir_ / "ADRESSEN.HL_");
  Write("ADRESSEN.HL_", packed.substr(0, packed.size() - 1) + static_cast<char>(packed.back() ^ 1));
  Write("Liesmich.txt", "Neu!\r\n");
  std::vector<Finding> f = Check();
  const int header = static_cast<int>(std::count(GoodScript, GoodScript + sizeof GoodScript, '\n')) + 1;
  EXPECT_EQ(Matching(f, "ADRESSEN.HL_ is damaged"), Lines{std::to_string(header + 2) + " error"}) << FindingsText(f);
  EXPECT_EQ(Matching(f, "Liesmich.txt is damaged"), Lines{std::to_string(header + 3) + " error"});
  EXPECT_EQ(Matching(f, "ADRHELP.DL_ has no checksum"), Lines{"14 warning"}) << "the line of its [Windows] entry";
  EXPECT_EQ(Matching(f, "is damaged:").size(), 2u) << "no false alarm\n" << FindingsText(f);
  EXPECT_EQ(CheckExitStatus(f, false), 2);
  Write("Setup.lst", GoodScript);
  f = Check();
  EXPECT_EQ(Matching(f, "no [SHA256] section"), Lines{"0 warning"});
  EXPECT_EQ(Matching(f, "is damaged:"), Lines{});
}

TEST_F(CheckTest, ErrorsNameTheirLines) {
  WriteGood();
  Write("ADRHELP.DL_", "MZ kein komprimiertes Format");
  Write("ADRESSEN.HL_", std::string("\x21\x48\x5A\x4C\x10\x27\x00\x00", 8));  // cut short
  fs::remove(dir_ / "SETUP.EXE");
  Write("Setup.lst",
        "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\n"
        "Folder=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n2=ADRESSEN.HL_\r\n4=FEHLT.EX_\r\n"
        "5=ADRESSEN.EXE\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\nADRESSEN.EXE=Adressen\r\n"
        "HANDBUCH.PDF=Handbuch\r\n");
  const std::vector<Finding> f = Check();
  // Four keys: N = 4, so key 5 is never reached (nor compared with line 7) and number 3 reads as empty.
  EXPECT_NE(FindingsText(f).find("Setup.lst:12: error: ADRHELP.DL_ does not expand: "), std::string::npos) << FindingsText(f);
  EXPECT_NE(FindingsText(f).find("ADRHELP.DL_: not in the compressed format\n"), std::string::npos) << "in English";
  ExpectFindings(f, {{"SETUP.EXE is missing", {"0 error"}},
                     {"key \"5\" is not one of 1..4", {"10 error"}},
                     {"has no key 3", {"0 error"}},
                     {"FEHLT.EX_ is missing", {"9 error"}},
                     {"does not expand", {"8 error", "12 error"}},
                     {"does not install", {"15 error"}},
                     {"like the entry on line 7", {}}});
  EXPECT_EQ(CheckExitStatus(f, false), 2);
}

// Names the installation takes for its own: the uninstaller, the log, the registration's key.
TEST_F(CheckTest, TwoEntriesWithOneTargetAndTheProgramsOwnNames) {
  WriteGood();
  Write("ADRESSEN.EXE", "MZ");
  Write("Uninstal.ex_", "");
  Write("INSTALL1.LOG", "");
  for (const std::string& folder : {std::string(300, 'x'), std::string("Muster\\Adressen")}) {
    Write("Setup.lst", "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\nFolder=" + folder +
                           "\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n2=adressen.exe\r\n3=Uninstal.ex_\r\n4=INSTALL1.LOG\r\n");
    ExpectFindings(Check(), {{"like the entry on line 7", {"8 error"}},
                             {"overwritten by the uninstaller", {"9 error"}},
                             {"the install log's name", {"10 error"}},
                             {"no registry key name", {"5 error"}}});
  }
}

TEST_F(CheckTest, WarningsForWhatWorksButSurprises) {
  WriteGood();
  fs::remove(dir_ / "Vertrag.Txt");
  WriteCompressed("beispiel.hd_", "x");
  WriteCompressed("DATEN.XY_", "x");
  Write("Setup.lst",
        "\xEF\xBB\xBF[General]\r\nName=Adressen\r\ndefaultPath=C:\\\r\nVersion=\r\n[Group]\r\nName=\r\n"
        "[programfiles]\r\n1=ADRESSEN.EX_\r\n2=beispiel.hd_\r\n3=DATEN.XY_\r\n[Items]\r\n"
        "ADRESSEN.EXE=Adressen 2.0\r\n");
  const std::vector<Finding> f = Check();
  // A byte-order mark says UTF-8, which the installer reads.
  ExpectFindings(f, {{"Vertrag.Txt is missing", {"0 warning"}},
                     {"byte-order mark", {}},
                     {"\"defaultPath\"", {"3 warning"}},
                     {"\"Group\"/\"Name\" is empty", {"6 warning"}},
                     {"\"StartMenu\"/\"Folder\" is missing", {"0 warning"}},
                     {"\"Version\" is missing", {"4 warning"}},  // empty counts as missing
                     {"\"Publisher\" is missing", {"0 warning"}},
                     {"sample file", {"9 warning"}},
                     {"does not know the extension", {"10 warning"}},
                     {"the first shortcut is named", {"12 warning"}}});
  EXPECT_EQ(CheckExitStatus(f, false), 0);
  EXPECT_EQ(CheckExitStatus(f, true), 1);
}

// Saved as UTF-8 without a byte-order mark, every text passes as CP1252 but means something
// else; German written in CP1252 is no such text.
TEST_F(CheckTest, TextsInUtf8WithoutAByteOrderMark) {
  WriteGood();
  Write("Setup.lst", std::string(GoodScript) +
                         "[Extra]\r\nA=f\xFCr Gr\xF6\xDF"
                         "e \xC4nderung\r\nB=K\xC3\xA4stner\r\n");
  Write("Vertrag.Txt", "Vertrag\r\nf\xC3\xBCr Sie\r\n");
  Write("Liesmich.txt",
        "\xEF\xBB\xBFKasse \xC5\x81\xC3\xB3"
        "d\xC5\xBA, f\xFCr");  // a mark, then CP1252
  const std::vector<Finding> f = Check();
  const int script = static_cast<int>(std::count(GoodScript, GoodScript + sizeof GoodScript, '\n')) + 3;
  ExpectFindings(
      f, {{"UTF-8 without a byte-order mark", {"2 warning", std::to_string(script) + " warning"}}, {"no valid UTF-8", {"0 error"}}});
  EXPECT_NE(FindingsText(f).find("Vertrag.Txt:2: warning: UTF-8 without a byte-order mark: the installer reads CP1252 "
                                 "and would show \"\xC3\xBC\""),
            std::string::npos)
      << FindingsText(f);
}

TEST_F(CheckTest, MissingScriptAndBytesThatAreNoText) {
  Write("SETUP.EXE", "MZ");
  EXPECT_EQ(Matching(Check(), "Setup.lst is missing"), Lines{"0 error"});
  Write("Setup.lst", "[General]\r\nName=Ad\x81ressen\r\n\x81");
  EXPECT_EQ(Matching(Check(), "not CP1252 text"), Lines{"2 warning"});
  // A binary file: the first control byte is an error, and the check goes on without crashing.
  std::string binary;
  for (int k = 0; k < 4096; ++k) binary += static_cast<char>((k * 7919 + 13) % 256);
  Write("Setup.lst", "[General]\r\nName=Adressen\r\n" + binary);
  const std::vector<Finding> f = Check();
  EXPECT_EQ(Matching(f, "control bytes"), Lines{"3 error"}) << FindingsText(f);
  EXPECT_EQ(CheckExitStatus(f, false), 2);
}

TEST_F(CheckTest, EntriesThatWouldLeaveTheirFolderAndRepeatedSections) {
  WriteGood();
  const std::string longName = std::string(300, 'a') + ".EX_";
  Write("Setup.lst",
        "[General]\r\nName=Adressen\r\ndefaultPath=C:\\Programme\\Adressen\r\n[StartMenu]\r\n"
        "Folder=Adressen\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n2=..\\..\\WINDOWS\\ADRHELP.DL_\r\n"
        "3=C:\\boot.ini\r\n4=NUL\r\n5=com1.ex_\r\n6=sub\\ADRESSEN.HL_\r\n7=" +
            longName + "\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[programfiles]\r\n1=ADRESSEN.HL_\r\n");
  // A refused name is not looked for.
  ExpectFindings(Check(), {{"not a plain file name", {"8 error", "9 error", "10 error", "11 error", "12 error", "13 error"}},
                           {"is missing from", {}},
                           {"[programfiles] appears a second time", {"16 error"}},
                           {"[Windows] appears", {}}});
}

TEST_F(CheckTest, PathsThatReach260CharactersAreErrors) {
  WriteGood();
  struct Row {
    size_t dir, name;  // "defaultPath" with its backslash; the installed file's name
    bool dirError, fileError;
  };
  for (const Row& r : {Row{246, 12, false, false}, Row{247, 12, true, false}, Row{100, 159, false, false}, Row{100, 160, false, true}}) {
    SCOPED_TRACE(std::to_string(r.dir) + " + " + std::to_string(r.name));
    Write("Setup.lst", "[General]\r\ndefaultPath=C:\\" + std::string(r.dir - 4, 'p') +
                           "\r\n[programfiles]\r\n1=" + std::string(r.name - 4, 'a') + ".EXE\r\n");
    const std::vector<Finding> f = Check();
    EXPECT_EQ(Matching(f, "would reach 260"), r.dirError ? Lines{"2 error"} : Lines{}) << FindingsText(f);
    EXPECT_EQ(Matching(f, "fail at 260"), r.fileError ? Lines{"4 error"} : Lines{});
  }
}

TEST(CheckOutput, TextAndJson) {
  const std::vector<Finding> findings = {{true, "Setup.lst", 3, "a \"quoted\" \\ name"}, {false, "", 0, "Vertrag.Txt is missing"}};
  const Finding note{false, "SETUP.EXE", 0, "signed", true};
  EXPECT_EQ(FindingsText({note}), "SETUP.EXE: note: signed\n");
  EXPECT_EQ(CheckExitStatus({note}, true), 0) << "a note is no warning";
  EXPECT_EQ(FindingsText(findings), "Setup.lst:3: error: a \"quoted\" \\ name\nwarning: Vertrag.Txt is missing\n");
  EXPECT_EQ(FindingsJson(findings),
            "[\n {\"severity\": \"error\", \"file\": \"Setup.lst\", \"line\": 3, \"message\": "
            "\"a \\\"quoted\\\" \\\\ name\"},\n {\"severity\": \"warning\", \"file\": \"\", \"line\": 0, "
            "\"message\": \"Vertrag.Txt is missing\"}\n]\n");
}
