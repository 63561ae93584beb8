#include "install/setup_script.h"

#include <gtest/gtest.h>

TEST(NumberedList, KeysOneToNWhateverTheLineOrder) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(NumberedList({"2=B", "1=A"}), (Lines{"A", "B"}));
  EXPECT_EQ(NumberedList({"1=A", "2=B", "4=D"}), (Lines{"A", "B", ""}));
  EXPECT_EQ(NumberedList({"01=A", "x=B"}), (Lines{"", ""}));  // no leading zeros
  EXPECT_EQ(NumberedList({"1=A=B", "1=C"}), (Lines{"A=B", ""}));
  EXPECT_TRUE(NumberedList({}).empty());
}

TEST(SplitItem, AtTheFirstEqualsSign) {
  EXPECT_EQ(SplitItem("A.EXE=Name=x").target, "A.EXE");
  EXPECT_EQ(SplitItem("A.EXE=Name=x").name, "Name=x");
  EXPECT_EQ(SplitItem("A.EXE=").name, "");
  EXPECT_EQ(SplitItem("A.EXE=" + std::string(300, 'x')).name.size(), 255u);
}

TEST(ChecksumTable, NamesInAnyCaseToLowerCaseDigests) {
  using Table = std::map<std::string, std::string>;
  EXPECT_EQ(ChecksumTable({"ADRESSEN.EX_=AB12", " Liesmich.txt = cd34 ", "kein Gleichheitszeichen", "adressen.ex_=ff"}),
            (Table{{"adressen.ex_", "ab12"}, {"liesmich.txt", "cd34"}}));
  EXPECT_TRUE(ChecksumTable({}).empty());
}
