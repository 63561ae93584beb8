#include "env/system_names.h"
#include "env/folders.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "env/file_system.h"
#include "tests/win/win_test_util.h"
#include "tools/driver/driver.h"

namespace {

// A profiles root with the given folders; those in withDesktop get a "Desktop" folder.
std::string Profiles(const TempFolder& temp, std::initializer_list<const char*> withDesktop,
                     std::initializer_list<const char*> without = {}) {
  const std::string root = temp.Folder("Profiles");
  for (const char* name : withDesktop) {
    temp.Folder(std::string("Profiles\\") + name);
    temp.Folder(std::string("Profiles\\") + name + "\\Desktop");
  }
  for (const char* name : without) temp.Folder(std::string("Profiles\\") + name);
  return root;
}

}  // namespace

TEST(CanWriteToDir, ProbesWithoutTouchingTheUsersFiles) {
  TempFolder temp("canwrite");
  EXPECT_TRUE(CanWriteToDir(temp.Path()));
  EXPECT_TRUE(CanWriteToDir(temp.Path().substr(0, temp.Path().size() - 1)));  // without "\"
  EXPECT_EQ(Entries(temp.Path() + "*").size(), 0u) << "the probe leaves nothing behind";

  // The user's own FileTest.txt keeps its content, and the probe still works beside it.
  const std::string own = temp.File("FileTest.txt", "meine Notizen");
  temp.File("FileTest1.txt", "noch eine");
  EXPECT_TRUE(CanWriteToDir(temp.Path()));
  EXPECT_EQ(FileText(own), "meine Notizen");
  EXPECT_EQ(FileText(temp.Path() + "FileTest1.txt"), "noch eine");
  EXPECT_EQ(Entries(temp.Path() + "*").size(), 2u);

  // Even a read-only one is left exactly as it was.
  SetFileAttributesNamed(own, FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(CanWriteToDir(temp.Path()));
  EXPECT_EQ(FileAttributes(own) & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
  SetFileAttributesNamed(own, FILE_ATTRIBUTE_NORMAL);
}

TEST(CanWriteToDir, MissingDirectoryOrAFileInsteadGivesFalse) {
  TempFolder temp("cannotwrite");
  EXPECT_FALSE(CanWriteToDir(temp.Path() + "fehlt"));
  EXPECT_FALSE(DirectoryExists(temp.Path() + "fehlt")) << "the probe creates no directory";
  const std::string file = temp.File("datei", "x");
  EXPECT_FALSE(CanWriteToDir(file));
  EXPECT_FALSE(CanWriteToDir("Q:\\kein\\Laufwerk"));
}

TEST(ForceDirectories, CreatesEveryMissingLevel) {
  TempFolder temp("force");
  EXPECT_TRUE(ForceDirectories(temp.Path() + "a\\b\\c"));
  EXPECT_TRUE(DirectoryExists(temp.Path() + "a\\b\\c"));
  EXPECT_TRUE(ForceDirectories(temp.Path() + "a\\b\\c\\"));  // exists: still true
  const std::string file = temp.File("datei", "x");
  EXPECT_FALSE(ForceDirectories(file + "\\unter"));
  EXPECT_FALSE(ForceDirectories(""));
}

TEST(ListProfileUsers, ProfilesWithADesktopSuffixedTwinsWinAndTheUserIsAddedWhenMissing) {
  TempFolder temp("profiles");
  // jdoe has a suffixed twin; "ohne" has no Desktop; dot names never count.
  const std::string root = Profiles(temp, {"jdoe", "jdoe.PC1", "All Users", ".versteckt", "Maria"}, {"ohne"});
  std::vector<std::string> list;
  ListProfileUsersIn(root, "hans", "PC1", list);
  std::sort(list.begin(), list.end() - 1);  // the search order is the file system's
  EXPECT_EQ(list, (std::vector<std::string>{"All Users", "Maria", "jdoe.PC1", "hans"}));
  TempFolder other("profileuser");
  const std::string root2 = Profiles(other, {"jdoe.PC1", "JDOE2", "Maria"});
  const struct {
    const char *root, *user, *computer;
    bool added;
  } rows[] = {
      {root2.c_str(), "jdoe", "PC1", false},   // jdoe.PC1 is this user's profile on this computer
      {root2.c_str(), "jdoe", "PC2", true},    // on another computer it is not
      {root2.c_str(), "maria", "PC1", false},  // Maria, letter case aside
      {root2.c_str(), "jdoe", "", false},      // no computer name: any "jdoe." counts
      {"C:\\wintest\\gibt es nicht", "hans", "PC1", true},
  };
  for (const auto& row : rows) {
    list.clear();
    ListProfileUsersIn(row.root, row.user, row.computer, list);
    EXPECT_EQ(!list.empty() && list.back() == row.user, row.added) << row.user << "@" << row.computer;
  }
  list.clear();
  ListProfileUsers(list);  // this system's profiles: at least the logon user
  EXPECT_FALSE(list.empty());
}
