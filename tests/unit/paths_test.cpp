#include "env/paths.h"

#include <gtest/gtest.h>

#include <functional>

TEST(Paths, ReplaceAllScansLeftToRightAndNeverRescansInsertedText) {
  struct Row {
    const char *text, *pattern, *replacement, *expected;
  };
  const Row rows[] = {
      {"%SystemDrive%\\Documents and Settings", "%SystemDrive%", "D:", "D:\\Documents and Settings"},
      {"%systemdrive%\\x", "%SystemDrive%", "D:", "%systemdrive%\\x"},  // case-sensitive
      {"aaa", "a", "aa", "aaaaaa"},                                     // no endless growth
      {"abab", "ab", "", ""},
      {"xyz", "", "q", "xyz"},  // empty pattern
      {"a%X%b%X%", "%X%", "-", "a-b-"},
      {"aXa", "aXa", "aXaXa", "aXaXa"},
  };
  for (const Row& r : rows) EXPECT_EQ(ReplaceAll(r.text, r.pattern, r.replacement), r.expected) << r.text;
}

// A backslash is added once and only where missing; a path splits at its last backslash or
// colon; case changes touch only ASCII letters (the program compares names ASCII-wise).
TEST(Paths, BackslashesSplitsAndCase) {
  struct Row {
    std::function<std::string(const std::string&)> function;
    const char *text, *expected;
  };
  const Row rows[] = {
      {AddBackslash, "C:\\Prog", "C:\\Prog\\"},
      {AddBackslash, "C:\\Prog\\", "C:\\Prog\\"},
      {AddBackslash, "C:\\Prog\\\\", "C:\\Prog\\\\"},
      {AddBackslash, "C:", "C:\\"},
      {IncludeBackslash, "", ""},
      {IncludeBackslash, "D:\\Tools", "D:\\Tools\\"},
      {ExtractFilePath, "D:\\Tools\\Prog\\Uninstal.exe", "D:\\Tools\\Prog\\"},
      {ExtractFileName, "D:\\Tools\\Prog\\Uninstal.exe", "Uninstal.exe"},
      {ExtractFilePath, "C:setup.exe", "C:"},
      {ExtractFileName, "C:setup.exe", "setup.exe"},
      {ExtractFilePath, "setup.exe", ""},
      {ExtractFileName, "C:\\dir\\", ""},
      {UpperCase, "Setup.Exe", "SETUP.EXE"},
      {LowerCase, "/S", "/s"},
      {UpperCase, "\xE4", "\xE4"},
  };
  for (const Row& r : rows) EXPECT_EQ(r.function(r.text), r.expected) << r.text;
}

TEST(Paths, BlankMeansOnlySpacesAndControlCharacters) {
  EXPECT_TRUE(IsBlank(""));
  EXPECT_TRUE(IsBlank(" \t\r\n"));
  EXPECT_FALSE(IsBlank(" x "));
  EXPECT_FALSE(IsBlank("\xE4"));  // a high byte is text, not a control character
}

TEST(Paths, APlainFileNameCannotLeaveItsFolderOrNameADevice) {
  for (const char* good : {"ADRESSEN.EX_", "beispiel.hd_", "a", "Adressen 2.0", "con1.txt", "COM0", "nullx", "...x", "Ä.txt"})
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  const std::string longest(255, 'a');
  EXPECT_TRUE(IsPlainFileName(longest));
  EXPECT_FALSE(IsPlainFileName(longest + "a"));
  for (const char* bad : {"",
                          ".",
                          "..",
                          "...",
                          "  ",
                          "..\\..\\Windows\\x.dll",
                          "sub\\x.exe",
                          "a/b",
                          "C:x.exe",
                          "C:\\x.exe",
                          "\\\\server\\share\\x",
                          "*.*",
                          "x?.exe",
                          "a|b",
                          "x\tname",
                          "NUL",
                          "nul",
                          "nul.txt",
                          "CON",
                          "con .ex_",
                          "Com1",
                          "LPT9.dll",
                          "AUX",
                          "PRN.hlp",
                          "CONOUT$",
                          "x.exe:stream"})
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
}
