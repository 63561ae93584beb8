// The decisions of start, wizard and installation, and the messages built from their pieces.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "app/start_rules.h"
#include "install/install_texts.h"
#include "install/user_choice.h"
#include "install/wizard_texts.h"
#include "transfer/copy_messages.h"
#include "env/removal_rules.h"

TEST(StartRules, ModeByFileNameSilentBySwitchOrByShiftAndCtrl) {
  for (const char* name : {"SETUP.EXE", "setup.exe", "sEtUp.ExE"}) EXPECT_TRUE(IsSetupMode(name)) << name;
  for (const char* name : {"Setup1.exe", "Uninstal.exe", "SETUP.EX_", "SETUP", "XSETUP.EXE", ""}) EXPECT_FALSE(IsSetupMode(name)) << name;
  const struct {
    std::vector<std::string> arguments;
    bool shift, ctrl, silent, quiet;
    std::string directory, log;
  } cases[] = {
      {{"/s"}, false, false, true, false, "", ""},
      {{"/S", "/D=C:\\Prog"}, false, false, true, false, "C:\\Prog", ""},
      {{"/Q", "/LOG=C:\\r.log", "/d=C:\\Mein Programm"}, false, false, true, true, "C:\\Mein Programm", "C:\\r.log"},
      // Unquoted, as deployment tools write it: the words up to the next switch.
      {{"/q", "/D=C:\\Programme\\Mein", "Programm", "/Log=C:\\x", "y"},
       false,
       false,
       true,
       true,
       "C:\\Programme\\Mein Programm",
       "C:\\x y"},
      {{"/D=C:\\A", "/s"}, false, false, false, false, "C:\\A", ""},  // a mode only as the first argument
      {{"/silent"}, false, false, false, false, "", ""},
      {{"-s"}, false, false, false, false, "", ""},
      {{" /s", "stray"}, false, false, false, false, "", ""},
      {{}, true, true, true, false, "", ""},
      {{}, true, false, false, false, "", ""},
      {{"/q"}, false, true, true, true, "", ""},
  };
  for (const auto& c : cases) {
    const StartRequest r = ParseStartRequest(c.arguments, c.shift, c.ctrl);
    const std::string what = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(r.silent, c.silent) << what;
    EXPECT_EQ(r.quiet, c.quiet) << what;
    EXPECT_EQ(r.directory, c.directory) << what;
    EXPECT_EQ(r.logFile, c.log) << what;
  }
}

TEST(StartRules, CommandLineSplitAsTheWindowsCRuntimeSplitsIt) {
  using Args = std::vector<std::string>;
  const struct {
    const char* line;
    Args arguments;
  } rows[] = {
      {"SETUP.EXE", {}},
      {"\"C:\\Mein Ordner\\SETUP.EXE\" /q", {"/q"}},
      {"C:\\dl\\x\"y\\SETUP.EXE /s", {"/s"}},  // the name ends at the first blank
      {"\"C:\\a b\\SETUP.EXE\"/s", {"/s"}},
      {"SETUP.EXE  /q \t \"/D=C:\\Andere Stelle\\Prog\"  ", {"/q", "/D=C:\\Andere Stelle\\Prog"}},
      {"SETUP.EXE /D=\"C:\\Program Files\\A\" /LOG=C:\\r.log", {"/D=C:\\Program Files\\A", "/LOG=C:\\r.log"}},
      {"SETUP.EXE \"/D=C:\\Prog\\\\\" x", {"/D=C:\\Prog\\", "x"}},  // a pair of backslashes before a quote
      {"SETUP.EXE a\\\"b c\\\\d", {"a\"b", "c\\\\d"}},              // an odd one makes the quote plain
      {"SETUP.EXE \"a \"\"b\" \"\"", {"a \"b", ""}},                // doubled inside quotes; empty
      {"SETUP.EXE \"unclosed tail", {"unclosed tail"}},
      {"", {}},
  };
  for (const auto& row : rows) EXPECT_EQ(CommandLineArguments(row.line), row.arguments) << row.line;
}

TEST(StartRules, TheGradientBlendsEveryByteFromNavyToBlack) {
  for (int i = 0; i < 256; ++i) EXPECT_EQ(BlendColor(0x800000, 0, i, 256), static_cast<uint32_t>((256 - i) * 128 / 256) << 16) << i;
  EXPECT_EQ(BlendColor(0xFF102030, 0x00302010, 1, 2), 0x7F202020u);
  EXPECT_EQ(BlendColor(0x00000000, 0xFFFFFFFF, 1, 3), 0x55555555u);
}

// One program's runs agree on the lock in any letter case; other programs' names never meet
// it; the name is one the system takes (no namespace separator, not too long).
TEST(StartRules, TheRunLockIsNamedAfterTheRegistrationKey) {
  const std::string longName(300, 'x');
  using Names = std::pair<std::string, std::string>;
  for (const auto& [a, b] : {Names{"Adressen", "ADRESSEN"}, Names{"Büro Plus", "BÜRO plus"}, Names{longName, longName}})
    EXPECT_EQ(RunLockName(a), RunLockName(b)) << a;
  for (const auto& [a, b] : {Names{"Adressen", "Adressen2"}, Names{"A\\B", "A_B"}, Names{longName, longName + "y"}}) {
    EXPECT_NE(RunLockName(a), RunLockName(b)) << a;
    EXPECT_EQ(RunLockName(a).find('\\'), std::string::npos);
    EXPECT_LE(RunLockName(a).size(), 100u);
  }
}

TEST(StartRules, PreviousInstallDirFromQuotedOrPlainCommand) {
  const struct {
    const char *command, *expected;
  } rows[] = {
      {"D:\\Tools\\Prog\\Uninstal.exe", "D:\\Tools\\Prog"},
      {"\"C:\\Program Files\\Adressen\\Uninstal.exe\"", "C:\\Program Files\\Adressen"},
      {"\"D:\\Tools\\Prog\\Uninstal.exe", "\"D:\\Tools\\Prog"},  // one quote only: kept as is
      {"C:\\Uninstal.exe", "C:"},
      {"Uninstal.exe", ""},
      {"", ""},
      {"\"\"", ""},
      {"C:Uninstal.exe", "C:"},
  };
  for (const auto& row : rows) EXPECT_EQ(PreviousInstallDir(row.command), row.expected) << row.command;
}

TEST(WizardRules, PlaceholderDirectoryProposalAndTheLimitedNtUser) {
  const struct {
    std::string text, name, expected;
  } rows[] = {
      {"richtet <Prog> ein.", "Adressen", "richtet Adressen ein."},
      {"<Prog> und <Prog>", "A", "A und <Prog>"},
      {"ohne", "Adressen", "ohne"},
      {"<Prog>", "", ""},
      {"<prog> klein", "X", "<prog> klein"},
      {"a<Prog>" + std::string(300, 'z'), "N", "aN" + std::string(255, 'z')},
  };
  for (const auto& row : rows) EXPECT_EQ(ReplaceProgPlaceholder(row.text, row.name), row.expected) << row.text;
  for (const char* path : {"C:\\", "D:", "", "C", "\\\\"}) EXPECT_TRUE(IsMainDirectory(path)) << path;
  for (const char* path : {"C:\\a", "D:\\x\\", "abcd"}) EXPECT_FALSE(IsMainDirectory(path)) << path;
  // What quiet mode takes without a person to ask.
  for (const char* path : {"C:\\a", "D:\\Mein Programm\\", "\\\\server\\share\\p"}) EXPECT_TRUE(IsFullDirectoryPath(path)) << path;
  for (const char* path : {"C:\\", "abcd", "C:abc", "..\\abc", "C:/a/b", "C:\\a*", "\\\\?\\C:\\a", "\"C:\\a\""})
    EXPECT_FALSE(IsFullDirectoryPath(path)) << path;
  // As Windows names a directory given with doubled separators, "." and "..", or trailing
  // dots and blanks; refused where it would alter a folder on the way or climb above the root.
  for (const auto& [given, canonical] :
       std::vector<std::pair<std::string, std::string>>{{"C:\\Programme\\\\Adressen", "C:\\Programme\\Adressen"},
                                                        {"C:\\windows\\..\\Programme\\.\\A\\", "C:\\Programme\\A"},
                                                        {"C:\\Programme\\Adressen. . ", "C:\\Programme\\Adressen"},
                                                        {"C:\\a.\\..\\b", "C:\\b"},
                                                        {"\\\\srv\\share\\\\p\\..\\q", "\\\\srv\\share\\q"},
                                                        {"C:\\..\\a", ""},
                                                        {"C:\\Prog.\\A", ""},
                                                        {"C:\\Prog \\A", ""},
                                                        {"C:\\A\\...", ""},
                                                        {"abcd", "abcd"},
                                                        {"C:\\", "C:\\"}})
    EXPECT_EQ(CanonicalDirectory(given), canonical) << given;
  const std::string profiles = "C:\\Dokumente und Einstellungen";
  EXPECT_EQ(ProfileProposal(profiles, "hans", "C:\\Programme\\Adressen"), profiles + "\\hans\\Adressen");
  EXPECT_EQ(ProfileProposal(profiles + "\\", "hans", "D:Adressen"), profiles + "\\hans\\Adressen");
  EXPECT_EQ(ProfileProposal(profiles, "hans", "C:\\Programme\\"), profiles + "\\hans\\");
  // Which names are NT's is the version table's (VersionName tests); here: only without rights.
  EXPECT_TRUE(IsLimitedNtUser("Windows XP", false));
  EXPECT_FALSE(IsLimitedNtUser("Windows XP", true));
  EXPECT_FALSE(IsLimitedNtUser("Windows 98", false));
}

TEST(UserChoice, DisplayedNamesAndPreselection) {
  for (const auto& [folder, shown] : std::vector<std::pair<std::string, std::string>>{{"All Users", "Alle Anwender"},
                                                                                      {"All Users.WINDOWS", "Alle Anwender"},
                                                                                      {"jdoe.PC1", "jdoe"},
                                                                                      {"a.b.c", "a"},
                                                                                      {"hans", "hans"},
                                                                                      {"", ""},
                                                                                      {"Public", "Alle Anwender"},
                                                                                      {"public", "public"}})
    EXPECT_EQ(DisplayedUserName(folder, "Public"), shown) << folder;
  EXPECT_EQ(DisplayedUserName("Public"), "Public");
  // Since Vista "All Users" and "Public" are one profile: it is offered once.
  for (const auto& [listed, common, kept] : std::vector<std::tuple<std::vector<std::string>, std::string, std::vector<std::string>>>{
           {{"All Users", "Public", "anna"}, "Public", {"All Users", "anna"}},
           {{"Public", "anna"}, "Public", {"Public", "anna"}},
           {{"All Users", "anna"}, "All Users", {"All Users", "anna"}},
           {{"All Users", "Public"}, "", {"All Users", "Public"}}}) {
    std::vector<std::string> users = listed;
    DropSecondAllUsers(users, common);
    EXPECT_EQ(users, kept) << common;
  }
  const std::vector<std::string> users = {"All Users", "xjdoe.PC1", "jdoe", "JDOE2"};
  EXPECT_EQ(PreselectedUser(users, "jdoe"), 1);  // part of a longer name, first in the list
  EXPECT_EQ(PreselectedUser(users, "JDOE"), 3);  // letter case counts
  EXPECT_EQ(PreselectedUser(users, "maria"), 0);
  EXPECT_EQ(PreselectedUser({}, "maria"), 0);
}

// Another user's shortcut folder: the running user's own place moved to that profile, else the
// first layout that exists there, else the first layout.
TEST(UserChoice, ShortcutFoldersBelowAnotherProfile) {
  static std::vector<std::string> existing;
  const auto exists = [](const std::string& dir) { return std::find(existing.begin(), existing.end(), dir) != existing.end(); };
  const char* const layouts[] = {"AppData\\Start Menu\\Programs", "Startmenü\\Programme"};
  const std::string anna = "C:\\Users\\anna";
  struct Row {
    std::string ownProfile, ownFolder;
    std::vector<std::string> existing;
    std::string expected;
  } rows[] = {
      {"C:\\Users\\Łukasz", "C:\\Users\\Łukasz\\Menu\\Progs", {anna + "\\Menu\\Progs"}, anna + "\\Menu\\Progs"},
      {"C:\\Users\\Łukasz\\", "C:\\Users\\Łukasz\\Menu\\Progs", {}, anna + "\\Menu\\Progs"},
      // Redirected elsewhere: nothing to move, the layouts decide.
      {"C:\\Users\\Łukasz", "D:\\Menu\\Progs", {anna + "\\Startmenü\\Programme"}, anna + "\\Startmenü\\Programme"},
      {"C:\\Users\\Łukasz",
       "C:\\Users\\Łukasz\\Menu",
       {anna + "\\AppData\\Start Menu\\Programs"},
       anna + "\\AppData\\Start Menu\\Programs"},
      {"", "", {}, anna + "\\AppData\\Start Menu\\Programs"},
      {"C:\\Users\\Łukasz", "C:\\Users\\Łukasz", {}, anna + "\\AppData\\Start Menu\\Programs"},
  };
  for (const Row& row : rows) {
    existing = row.existing;
    EXPECT_EQ(ShortcutFolderBelow(anna, row.ownProfile, row.ownFolder, layouts, +exists), row.expected) << row.ownFolder;
  }
  EXPECT_EQ(ShortcutFolderBelow(anna + "\\", "", "", layouts, +exists), anna + "\\AppData\\Start Menu\\Programs");
  EXPECT_EQ(ShortcutFolderBelow("", "", "", layouts, +exists), "");
}

// Each builder puts its pieces where the reader finds them; the words around them are the
// program's own and are not repeated here.
TEST(Messages, EachBuilderJoinsItsPiecesIn) {
  const struct {
    std::string text;
    std::vector<std::string> pieces;
  } rows[] = {
      {CopyQuestionText("c:\\ziel\\", "ADRESSEN.EXE"), {" c:\\ziel\\ADRESSEN.EXE\r"}},
      {ExpandQuestionText("c:\\dist\\", "ADRESSEN.EX_", "c:\\ziel\\", "ADRESSEN.EXE"),
       {" c:\\dist\\ADRESSEN.EX_\r", "\rc:\\ziel\\ADRESSEN.EXE "}},
      {CopyFailedText("c:\\ziel\\", "A.DLL"), {" c:\\ziel\\A.DLL "}},
      {InstallFailedText("C:\\P\\A"), {"\r\n\r\nC:\\P\\A\r\n\r\n"}},
      {InstallDoneText("C:\\P\\A", false), {"\r\n\r\nC:\\P\\A\r\n\r\n"}},
      {AdministratorAdviceText("Adressen", "Windows XP", "C:\\P\\A"), {" Adressen ", "(Windows XP)", "(C:\\P\\A)"}},
      {DirectoryWarningText("X:\\A", false), {"\"X:\\A\""}},
      {MissingControlFileText("Setup.lst", "C:\\dist\\"), {" Setup.lst ", " C:\\dist\\Setup.lst"}},
      {DirectoryQuestionText("C:\\P\\A"), {" C:\\P\\A "}},
      {AlreadyRunningText("Adressen"), {" Adressen "}},
      {RecordFailedText("C:\\x.log"), {" C:\\x.log "}},
  };
  for (const auto& row : rows)
    for (const std::string& piece : row.pieces) EXPECT_NE(row.text.find(piece), std::string::npos) << row.text;
  // The administrator's paragraph only where asked for, after what is said to everyone.
  for (const auto& [plain, admin] : {std::pair{InstallDoneText("C:\\A", false), InstallDoneText("C:\\A", true)},
                                     std::pair{DirectoryWarningText("X:\\A", false), DirectoryWarningText("X:\\A", true)}}) {
    EXPECT_EQ(plain.find("Administrator"), std::string::npos);
    EXPECT_NE(admin.find("Administrator"), std::string::npos);
    EXPECT_TRUE(admin.starts_with(plain.substr(0, plain.find("\r\n\r\nSoll")))) << admin;
  }
}
