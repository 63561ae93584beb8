#include "env/paths.h"

#include <gtest/gtest.h>

TEST(Paths, BackslashIsAddedOnceAndOnlyWhereMissing) {
  EXPECT_EQ(AddBackslash("C:\\Prog"), "C:\\Prog\\");
  EXPECT_EQ(AddBackslash("C:\\Prog\\"), "C:\\Prog\\");
  EXPECT_EQ(AddBackslash("C:\\Prog\\\\"), "C:\\Prog\\\\");
  EXPECT_EQ(AddBackslash("C:"), "C:\\");
  EXPECT_EQ(IncludeBackslash(""), "");
  EXPECT_EQ(IncludeBackslash("D:\\Tools"), "D:\\Tools\\");
}

TEST(Paths, ReplaceAllScansLeftToRightAndNeverRescansInsertedText) {
  struct Row {
    const char *text, *pattern, *replacement, *expected;
  };
  const Row rows[] = {
      {"%SystemDrive%\\Documents and Settings", "%SystemDrive%", "D:", "D:\\Documents and Settings"},
      {"%systemdrive%\\x", "%SystemDrive%", "D:", "%systemdrive%\\x"},  // case-sensitive
      {"aaa", "a", "aa", "aaaaaa"},                                      // no endless growth
      {"abab", "ab", "", ""},
      {"xyz", "", "q", "xyz"},                                           // empty pattern
      {"a%X%b%X%", "%X%", "-", "a-b-"},
      {"aXa", "aXa", "aXaXa", "aXaXa"},
  };
  for (const Row& r : rows) EXPECT_EQ(ReplaceAll(r.text, r.pattern, r.replacement), r.expected) << r.text;
}

TEST(Paths, FilePathAndNameSplitAtTheLastBackslashOrColon) {
  EXPECT_EQ(ExtractFilePath("D:\\Tools\\Prog\\Uninstal.exe"), "D:\\Tools\\Prog\\");
  EXPECT_EQ(ExtractFileName("D:\\Tools\\Prog\\Uninstal.exe"), "Uninstal.exe");
  EXPECT_EQ(ExtractFilePath("C:setup.exe"), "C:");
  EXPECT_EQ(ExtractFileName("C:setup.exe"), "setup.exe");
  EXPECT_EQ(ExtractFilePath("setup.exe"), "");
  EXPECT_EQ(ExtractFileName("C:\\dir\\"), "");
}

TEST(Paths, CaseChangesTouchOnlyAsciiLetters) {
  EXPECT_EQ(UpperCase("Setup.Exe"), "SETUP.EXE");
  EXPECT_EQ(LowerCase("/S"), "/s");
  // CP1252 umlauts stay as they are, as the program compares names ASCII-wise.
  EXPECT_EQ(UpperCase("\xE4"), "\xE4");
}

TEST(Paths, BlankMeansOnlySpacesAndControlCharacters) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\r\n"));
  EXPECT_FALSE(IsBlank(" x "));
  EXPECT_FALSE(IsBlank("\xE4"));  // a high byte is text, not a control character
}
