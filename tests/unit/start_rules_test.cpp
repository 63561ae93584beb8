#include "app/start_rules.h"

#include <gtest/gtest.h>

TEST(StartRules, ModeFollowsTheFileNameInAnyCase) {
  for (const char* name : {"SETUP.EXE", "setup.exe", "Setup.Exe", "sEtUp.ExE"}) EXPECT_TRUE(IsSetupMode(name)) << name;
  for (const char* name : {"Setup1.exe", "Uninstal.exe", "SETUP.EX_", "SETUP", "XSETUP.EXE", ""})
    EXPECT_FALSE(IsSetupMode(name)) << name;
}

TEST(StartRules, SilentBySwitchOrByShiftAndCtrlTogether) {
  EXPECT_TRUE(IsSilentRequest("/s", false, false));
  EXPECT_TRUE(IsSilentRequest("/S", false, false));
  EXPECT_FALSE(IsSilentRequest("/silent", false, false));
  EXPECT_FALSE(IsSilentRequest("-s", false, false));
  EXPECT_FALSE(IsSilentRequest("", false, false));
  EXPECT_FALSE(IsSilentRequest(" /s", false, false));
  EXPECT_TRUE(IsSilentRequest("", true, true));
  EXPECT_FALSE(IsSilentRequest("", true, false));
  EXPECT_FALSE(IsSilentRequest("", false, true));
}

TEST(StartRules, GradientRunsFromNavyToBlack) {
  EXPECT_EQ(BlendColor(0x800000, 0, 0, 256), 0x800000u);
  EXPECT_EQ(BlendColor(0x800000, 0, 1, 256), 0x7F0000u);
  EXPECT_EQ(BlendColor(0x800000, 0, 2, 256), 0x7F0000u);
  EXPECT_EQ(BlendColor(0x800000, 0, 3, 256), 0x7E0000u);
  EXPECT_EQ(BlendColor(0x800000, 0, 254, 256), 0x010000u);
  EXPECT_EQ(BlendColor(0x800000, 0, 255, 256), 0x000000u);
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = BlendColor(0x800000, 0, i, 256);
    EXPECT_EQ(c & 0xFF00FFFF, 0u) << i;  // red, green and the high byte stay 0
    EXPECT_EQ(c >> 16, static_cast<uint32_t>((256 - i) * 128 / 256)) << i;
  }
}

TEST(StartRules, BlendWorksOnEveryByteSeparately) {
  EXPECT_EQ(BlendColor(0xFF102030, 0x00302010, 1, 2), 0x7F202020u);
  EXPECT_EQ(BlendColor(0x00000000, 0xFFFFFFFF, 1, 3), 0x55555555u);
  EXPECT_EQ(BlendColor(0x123456, 0x654321, 4, 4), 0x654321u);
}

TEST(StartRules, PreviousInstallDirFromQuotedOrPlainCommand) {
  struct Row {
    const char *command, *expected;
  };
  const Row rows[] = {
      {"D:\\Tools\\Prog\\Uninstal.exe", "D:\\Tools\\Prog"},
      {"\"C:\\Program Files\\Adressen\\Uninstal.exe\"", "C:\\Program Files\\Adressen"},
      {"\"D:\\Tools\\Prog\\Uninstal.exe", "\"D:\\Tools\\Prog"},  // one quote only: kept as is
      {"C:\\Uninstal.exe", "C:"},
      {"Uninstal.exe", ""},
      {"", ""},
      {"\"\"", ""},
      {"C:Uninstal.exe", "C:"},
  };
  for (const Row& r : rows) EXPECT_EQ(PreviousInstallDir(r.command), r.expected) << r.command;
}

TEST(StartRules, MissingControlFileNamesTheFileTwice) {
  EXPECT_EQ(MissingControlFileText("Setup.lst", "C:\\dist\\"),
            "Datei Setup.lst nicht gefunden: C:\\dist\\Setup.lst");
}
