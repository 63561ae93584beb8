// The decisions of an installation over an earlier one, and the restart list of Windows 95.
#include <gtest/gtest.h>

#include "env/pending_rename.h"
#include "install/upgrade_rules.h"

TEST(UpgradeRules, VersionsComparePartByPartAsNumbers) {
  const struct {
    const char *a, *b;
    int order;
  } rows[] = {
      {"1.0", "2.0", -1},          {"1.9", "1.10", -1}, {"2.0", "2.0.0", 0}, {"2", "1.99", 1}, {"1.2.3", "1.2.10", -1},
      {"10.0", "9.9.9", 1},        {"2.5b", "2.5", 0},  {"2.5.1", "2.5", 1}, {"", "0", 0},     {"1.0 beta", "1.0", 0},
      {"99999999999.1", "1.1", 1},
  };
  for (const auto& row : rows) {
    const int forward = CompareVersions(row.a, row.b), backward = CompareVersions(row.b, row.a);
    EXPECT_EQ((forward > 0) - (forward < 0), row.order) << row.a << " / " << row.b;
    EXPECT_EQ((backward > 0) - (backward < 0), -row.order) << row.b << " / " << row.a;
  }
}

TEST(UpgradeRules, AnEarlierFileGoesOnlyWhenItIsTheEarlierVersionsAlone) {
  const std::string as_left = FileStateText(12, "ab"), changed = FileStateText(12, "cd");
  const struct {
    const char* what;
    bool listedNow, exists, inProgramDir, backup;
    std::string recorded, now;
    EarlierFate fate;
    bool found = false;
  } rows[] = {
      {"listed again", true, true, true, false, as_left, as_left, EarlierFate::Drop},
      {"gone already", false, false, true, false, as_left, as_left, EarlierFate::Drop},
      {"dropped, as it was left", false, true, true, false, as_left, as_left, EarlierFate::Remove},
      {"dropped, changed by the user", false, true, true, false, as_left, changed, EarlierFate::KeepChanged},
      {"dropped, no state recorded", false, true, true, false, "", "", EarlierFate::KeepChanged},
      {"in the Windows directory", false, true, false, false, as_left, as_left, EarlierFate::Keep},
      {"a killed run's kept copy", false, true, true, true, "", "", EarlierFate::Remove},
      {"a kept copy's name elsewhere", false, true, false, true, "", "", EarlierFate::Keep},
      {"another's file it wrote over", false, true, true, false, as_left, as_left, EarlierFate::Drop, true},
      {"another's shared library", false, true, false, false, as_left, as_left, EarlierFate::Keep, true},
  };
  for (const auto& row : rows) {
    EarlierFile file;
    file.listedNow = row.listedNow;
    file.exists = row.exists;
    file.inProgramDir = row.inProgramDir;
    file.backup = row.backup;
    file.recordedState = row.recorded;
    file.found = row.found;
    int asked = 0;
    EXPECT_EQ(FateOfEarlierFile(file,
                                [&] {
                                  ++asked;
                                  return row.now;
                                }),
              row.fate)
        << row.what;
    // The whole file is read only where the decision turns on it.
    EXPECT_LE(asked, row.exists && !row.listedNow && row.inProgramDir && !row.backup && !row.found && !row.recorded.empty()) << row.what;
  }
  EXPECT_EQ(FileStateText(5000000000ULL, "ff"), "5000000000,ff");
}

TEST(PendingRename, LinesJoinTheRenameSectionWhateverElseTheFileHolds) {
  const struct {
    std::string before, after;
  } rows[] = {
      {"", "[rename]\r\nNUL=C:\\A\r\n"},
      {"[rename]\r\nC:\\X=C:\\Y\r\n", "[rename]\r\nNUL=C:\\A\r\nC:\\X=C:\\Y\r\n"},
      {"[Other]\r\nk=v", "[Other]\r\nk=v\r\n[rename]\r\nNUL=C:\\A\r\n"},
      {"[Other]\r\nk=v\r\n[RENAME]\r\nNUL=C:\\B\r\n", "[Other]\r\nk=v\r\n[RENAME]\r\nNUL=C:\\A\r\nNUL=C:\\B\r\n"},
      {"[rename]", "[rename]\r\nNUL=C:\\A\r\n"},
  };
  for (const auto& row : rows) EXPECT_EQ(WithRenameLine(row.before, "NUL=C:\\A"), row.after) << row.before;
}
