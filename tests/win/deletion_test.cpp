#include "env/system_names.h"
#include "env/deletion.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "tests/win/win_test_util.h"

TEST(ForceDeleteFile, ClearsReadOnlyAndReportsTheOutcome) {
  TempFolder dir("force_delete");
  const std::string plain = dir.File("plain.txt", "x");
  const std::string readOnly = dir.File("readonly.txt", "x");
  SetFileAttributesNamed(readOnly, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(ForceDeleteFile(plain));
  EXPECT_TRUE(ForceDeleteFile(readOnly));
  EXPECT_FALSE(Exists(readOnly));
  EXPECT_FALSE(ForceDeleteFile(dir.Path() + "missing.txt"));
  // A file held open without sharing cannot go; it keeps its other attributes.
  const std::string held = dir.File("held.txt", "x");
  SetFileAttributesNamed(held, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  {
    KernelHandle lock = FromCreateFile(CreateFileNamed(held, GENERIC_READ, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(ForceDeleteFile(held));
  }
  EXPECT_EQ(FileAttributes(held) & FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE);
}

TEST(DeleteTree, RemovesFilesOfEveryKindAndNestedFolders) {
  TempFolder root("tree_all");
  const std::string top = root.Folder("prog");
  root.File("prog\\a.exe", "a");
  const std::string ro = root.File("prog\\readonly.dat", "r");
  SetFileAttributesNamed(ro, FILE_ATTRIBUTE_READONLY);
  const std::string hidden = root.File("prog\\hidden.sys", "h");
  SetFileAttributesNamed(hidden, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  root.File("prog\\.dotfile", "d");
  root.Folder("prog\\sub");
  root.Folder("prog\\sub\\deeper");
  root.File("prog\\sub\\deeper\\x.txt", "x");
  DeleteTree(top);
  EXPECT_FALSE(Exists(top));
}

TEST(DeleteTree, HiddenAndDotFoldersStayWithTheirParents) {
  for (const char* kept : {"hidden", ".git"}) {
    SCOPED_TRACE(kept);
    TempFolder root(std::string("tree_keep_") + (kept[0] == '.' ? "dot" : "hidden"));
    const std::string top = root.Folder("prog");
    root.Folder("prog\\sub");
    root.File("prog\\sub\\gone.txt", "g");
    const std::string keptDir = root.Folder(std::string("prog\\sub\\") + kept);
    root.File(std::string("prog\\sub\\") + kept + "\\inside.txt", "i");
    if (kept[0] != '.') SetFileAttributesNamed(keptDir, FILE_ATTRIBUTE_HIDDEN);
    DeleteTree(top);
    EXPECT_TRUE(Exists(keptDir + "\\inside.txt"));
    EXPECT_TRUE(Exists(top));
    EXPECT_FALSE(Exists(top + "\\sub\\gone.txt"));
  }
}

TEST(DeleteTree, NeverEntersALinkToAFolder) {
  TempFolder root("tree_link");
  const std::string outside = root.Folder("outside");
  const std::string precious = root.File("outside\\precious.txt", "keep me");
  const std::string top = root.Folder("prog");
  root.File("prog\\a.txt", "a");
  const std::string link = top + "\\link";
  if (!MakeFolderLink(link, outside)) GTEST_SKIP() << "no folder links on this system";
  ASSERT_NE(FileAttributes(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  DeleteTree(top);
  EXPECT_TRUE(Exists(precious));
  EXPECT_FALSE(Exists(top));
  // Handed the link itself, it removes the link and nothing behind it.
  const std::string second = root.Path() + "second";
  ASSERT_TRUE(MakeFolderLink(second, outside));
  DeleteTree(second);
  EXPECT_TRUE(Exists(precious));
  EXPECT_FALSE(Exists(second));
}
