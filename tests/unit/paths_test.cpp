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

TEST(Paths, APlainFileNameCannotLeaveItsFolderOrNameADevice) {
  for (const char* good : {"ADRESSEN.EX_", "beispiel.hd_", "a", "Adressen 2.0", "con1.txt", "COM0",
                           "nullx", "...x", "Ä.txt"})
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  const std::string longest(255, 'a');
  EXPECT_TRUE(IsPlainFileName(longest));
  EXPECT_FALSE(IsPlainFileName(longest + "a"));
  for (const char* bad : {"", ".", "..", "...", "  ", "..\\..\\Windows\\x.dll", "sub\\x.exe", "a/b",
                          "C:x.exe", "C:\\x.exe", "\\\\server\\share\\x", "*.*", "x?.exe", "a|b",
                          "x\tname", "NUL", "nul", "nul.txt", "CON", "con .ex_", "Com1", "LPT9.dll",
                          "AUX", "PRN.hlp", "CONOUT$", "x.exe:stream"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}
