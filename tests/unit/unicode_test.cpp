#include "env/unicode.h"

#include <gtest/gtest.h>

// UTF-8 and UTF-16 into each other: well-formed text both ways whole, malformed bytes as U+FFFD
// (never a cut or a skipped letter that would name another file).
TEST(Unicode, Utf8AndUtf16) {
  const struct {
    std::string utf8;
    std::u16string utf16;
    bool wellFormed;
  } rows[] = {
      {"Kasse \xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       u"Kasse Łódź", true},
      {"\xCE\xA9mega \xE7\x8E\x8B\xE8\x8A\xB3", u"Ωmega 王芳", true},
      {"\xF0\x9F\x98\x80", u"\U0001F600", true},  // beyond the 16 bits: a pair
      {"a\xFF"
       "b",
       u"a\uFFFD"
       "b",
       false},                                                   // no lead byte
      {"\xC3", u"\uFFFD", false},                                // cut at the end
      {"\xC0\xAF", u"\uFFFD\uFFFD", false},                      // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},            // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},  // beyond U+10FFFF
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.utf8);
    EXPECT_EQ(Utf16FromUtf8(row.utf8), row.utf16);
    EXPECT_EQ(IsUtf8(row.utf8), row.wellFormed);
    EXPECT_EQ(row.wellFormed ? Utf8FromUtf16(row.utf16) : row.utf8, row.utf8);
  }
  EXPECT_EQ(Utf8FromUtf16(u"x\xD800y"), "x\xEF\xBF\xBDy") << "a lone surrogate";
}

// A distribution's text means the same on every system: CP1252, or UTF-8 after its mark; and it
// goes back into the script's own encoding where CP1252 can hold it.
TEST(Unicode, DistributionTexts) {
  EXPECT_EQ(DistributionText("Begr\xFC\xDFung \x80 \x81"), "Begrüßung € \xC2\x81");
  EXPECT_EQ(DistributionText("\xEF\xBB\xBFKasse \xC5\x81\xC3\xB3"
                             "d\xC5\xBA"),
            "Kasse Łódź");
  EXPECT_EQ(DistributionText("\xEF\xBB\xBF"
                             "f\xFCr"),
            "f\xEF\xBF\xBDr")
      << "CP1252 behind a mark";
  std::string bytes;
  EXPECT_TRUE(InDistributionEncoding("[General]", "Übersicht €.txt", bytes));
  EXPECT_EQ(bytes,
            "\xDC"
            "bersicht \x80.txt");
  EXPECT_FALSE(InDistributionEncoding("[General]", "Łódź.txt", bytes));
  EXPECT_TRUE(InDistributionEncoding("\xEF\xBB\xBF[General]", "Łódź.txt", bytes));
  EXPECT_EQ(bytes, "Łódź.txt");
  for (int byte = 0x20; byte < 0x100; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    ASSERT_TRUE(Cp1252FromUtf8(Utf8FromCp1252(one), bytes)) << byte;
    EXPECT_EQ(bytes, one);
  }
}
