// The setup script read through the real profile-string functions.
#include "install/setup_script.h"

#include <gtest/gtest.h>

#include "tests/win/win_test_util.h"

namespace {
using Lines = std::vector<std::string>;
}

TEST(SetupScript, SingleValuesDefaultsAndLetterCase) {
  TempFolder dir("script_values");
  dir.File("Setup.lst",
           "[general]\r\nNAME=Adressen\r\ndefaultPath=\r\n[StartMenu]\r\nFolder = Kasse \r\n");
  const SetupScript script(dir.Path());
  EXPECT_EQ(script.Value("General", "Name", "Programm"), "Adressen");    // case ignored
  EXPECT_EQ(script.Value("General", "defaultPath", "C:\\App"), "");      // empty, not default
  EXPECT_EQ(script.Value("Group", "Name", "Gruppex"), "Gruppex");        // section missing
  EXPECT_EQ(script.Value("General", "Missing", "x"), "x");
  EXPECT_EQ(script.Value("StartMenu", "Folder", "Unbenannt"), "Kasse");  // blanks trimmed
}

TEST(SetupScript, NumberedListsCountEveryKeyAndLookUpOneToN) {
  TempFolder dir("script_lists");
  dir.File("Setup.lst",
           "[programfiles]\r\n1=ADRESSEN.EX_\r\n2=ADRESSEN.HL_\r\n4=beispiel.hd_\r\n"
           "[Windows]\r\nnotanumber=X.DL_\r\n1=ADRHELP.DL_\r\n1=SECOND.DL_\r\n");
  const SetupScript script(dir.Path());
  EXPECT_EQ(script.ProgramFiles(), (Lines{"ADRESSEN.EX_", "ADRESSEN.HL_", ""}));
  // Two lines and a duplicate key: N = 3, the first "1" wins, 2 and 3 are empty.
  EXPECT_EQ(script.WindowsFiles().front(), "ADRHELP.DL_");
  EXPECT_EQ(script.WindowsFiles().size(), 3u);
  EXPECT_EQ(script.Items().size(), 0u);  // no section, no shortcuts
}

TEST(SetupScript, AListOfTenThousandEntriesIsReadWhole) {
  // Far more key names than one 8192-byte fetch holds.
  TempFolder dir("script_long");
  std::string text = "[programfiles]\r\n";
  for (int i = 1; i <= 10000; ++i) text += std::to_string(i) + "=F" + std::to_string(i) + ".DA_\r\n";
  dir.File("Setup.lst", text + "[Windows]\r\n1=ADRHELP.DL_\r\n");
  const Lines files = SetupScript(dir.Path()).ProgramFiles();
  ASSERT_EQ(files.size(), 10000u);
  EXPECT_EQ(files.back(), "F10000.DA_");
  EXPECT_EQ(SetupScript(dir.Path()).WindowsFiles(), Lines{"ADRHELP.DL_"});
}

TEST(SetupScript, ItemsSplitAtTheFirstEqualsSign) {
  TempFolder dir("script_items");
  const std::string longName(300, 'n');
  dir.File("Setup.lst", "[Items]\r\nADRESSEN.EXE=Adressen\r\nHILFE.HLP=Hilfe = Handbuch=2\r\n"
                        "LANG.EXE=" + longName + "\r\n");
  const std::vector<ShortcutItem> items = SetupScript(dir.Path()).Items();
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].target, "ADRESSEN.EXE");
  EXPECT_EQ(items[0].name, "Adressen");
  EXPECT_EQ(items[1].name, "Hilfe = Handbuch=2");
  EXPECT_EQ(items[2].name, longName.substr(0, 255));
}

