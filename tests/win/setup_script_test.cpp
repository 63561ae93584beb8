// The setup script read through the real profile-string functions, and from the text that a
// one-file download carries: both read alike.
#include "install/setup_script.h"

#include <gtest/gtest.h>

#include "tests/win/win_test_util.h"

namespace {
using Lines = std::vector<std::string>;

std::vector<SetupScript> Both(const TempFolder& dir, const std::string& text) {
  dir.File("Setup.lst", text);
  std::vector<SetupScript> both;
  both.emplace_back(dir.Path());
  both.push_back(SetupScript::FromText(text));
  return both;
}
}  // namespace

TEST(SetupScript, SingleValuesDefaultsAndLetterCase) {
  TempFolder dir("script_values");
  for (const SetupScript& script : Both(dir, "[general]\r\nNAME=Adressen\r\ndefaultPath=\r\n[StartMenu]\r\nFolder = Kasse \r\n")) {
    EXPECT_EQ(script.Value("General", "Name", "Programm"), "Adressen");  // case ignored
    EXPECT_EQ(script.Value("General", "defaultPath", "C:\\App"), "");    // empty, not default
    EXPECT_EQ(script.Value("Group", "Name", "Gruppex"), "Gruppex");      // section missing
    EXPECT_EQ(script.Value("General", "Missing", "x"), "x");
    EXPECT_EQ(script.Value("StartMenu", "Folder", "Unbenannt"), "Kasse");  // blanks trimmed
  }
}

TEST(SetupScript, NumberedListsCountEveryKeyAndLookUpOneToN) {
  TempFolder dir("script_lists");
  for (const SetupScript& script : Both(dir,
                                        "[programfiles]\r\n1=ADRESSEN.EX_\r\n2=ADRESSEN.HL_\r\n4=beispiel.hd_\r\n"
                                        "[Windows]\r\nnotanumber=X.DL_\r\n1=ADRHELP.DL_\r\n1=SECOND.DL_\r\n")) {
    EXPECT_EQ(script.ProgramFiles(), (Lines{"ADRESSEN.EX_", "ADRESSEN.HL_", ""}));
    // Two lines and a duplicate key: N = 3, the first "1" wins, 2 and 3 are empty.
    EXPECT_EQ(script.WindowsFiles().front(), "ADRHELP.DL_");
    EXPECT_EQ(script.WindowsFiles().size(), 3u);
    EXPECT_EQ(script.Items().size(), 0u);  // no section, no shortcuts
  }
}

TEST(SetupScript, AListOfTenThousandEntriesIsReadWhole) {
  // Far more key names than one 8192-byte fetch holds.
  TempFolder dir("script_long");
  std::string text = "[programfiles]\r\n";
  for (int i = 1; i <= 10000; ++i) text += std::to_string(i) + "=F" + std::to_string(i) + ".DA_\r\n";
  for (const SetupScript& script : Both(dir, text + "[Windows]\r\n1=ADRHELP.DL_\r\n")) {
    const Lines files = script.ProgramFiles();
    ASSERT_EQ(files.size(), 10000u);
    EXPECT_EQ(files.back(), "F10000.DA_");
    EXPECT_EQ(script.WindowsFiles(), Lines{"ADRHELP.DL_"});
  }
}

TEST(SetupScript, ItemsSplitAtTheFirstEqualsSign) {
  TempFolder dir("script_items");
  const std::string longName(300, 'n');
  for (const SetupScript& script : Both(dir,
                                        "[Items]\r\nADRESSEN.EXE=Adressen\r\nHILFE.HLP=Hilfe = Handbuch=2\r\n"
                                        "LANG.EXE=" +
                                            longName + "\r\n")) {
    const std::vector<ShortcutItem> items = script.Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].target, "ADRESSEN.EXE");
    EXPECT_EQ(items[0].name, "Adressen");
    EXPECT_EQ(items[1].name, "Hilfe = Handbuch=2");
    EXPECT_EQ(items[2].name, longName.substr(0, 255));
  }
}
