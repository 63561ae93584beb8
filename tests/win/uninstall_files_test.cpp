// The listing shown before the program directory goes, the batch file's temporary name, and
// the check that a logged file is reached without a link.
#include "env/system_names.h"
#include "uninstall/uninstall_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "env/deletion.h"
#include "env/file_system.h"
#include "tests/win/win_test_util.h"
#include "tools/driver/driver.h"

namespace {
size_t IndexOf(const std::vector<std::string>& list, const std::string& entry) {
  return static_cast<size_t>(std::find(list.begin(), list.end(), entry) - list.begin());
}
}  // namespace

TEST(ListTree, EntriesFirstThenEachVisibleSubfolderDepthFirst) {
  TempFolder root("list_tree");
  for (const char* folder :
       {"prog", "prog\\Daten", "prog\\Daten\\Alt", "prog\\Hilfe", "prog\\.git", "prog\\Geheim", "prog\\leer", "elsewhere"})
    root.Folder(folder);
  const std::string p = root.Path() + "prog\\";
  for (const char* file : {"prog\\a.exe", "prog\\Daten\\kunden.hdb", "prog\\Daten\\Alt\\2019.hdb", "prog\\Hilfe\\hilfe.hlp",
                           "prog\\.git\\config", "prog\\.versteckt", "prog\\Geheim\\innen.txt", "elsewhere\\fremd.txt"})
    root.File(file, "x");
  SetFileAttributesNamed((p + "Geheim"), FILE_ATTRIBUTE_HIDDEN);
  const bool linked = MakeFolderLink(p + "Verweis", root.Path() + "elsewhere");

  std::vector<std::string> list = {"schon da"};
  ListTree(p + "*.*", true, list);
  std::vector<std::string> expected = {"schon da",       p + "a.exe",
                                       p + "Daten",      p + "Daten\\kunden.hdb",
                                       p + "Daten\\Alt", p + "Daten\\Alt\\2019.hdb",
                                       p + "Hilfe",      p + "Hilfe\\hilfe.hlp",
                                       p + "Geheim",     p + "leer"};
  // A link is a folder entry like any other (Wine's listing may leave it out); what lies
  // behind it is never listed.
  if (linked) std::erase(list, p + "Verweis");
  std::vector<std::string> sortedList = list, sortedExpected = expected;
  std::sort(sortedList.begin(), sortedList.end());
  std::sort(sortedExpected.begin(), sortedExpected.end());
  EXPECT_EQ(sortedList, sortedExpected) << "dot names, a hidden folder's and a link's insides stay out";
  // The order: what lies in a folder comes before what lies in its subfolders, and each
  // subfolder's contents come together.
  for (const char* direct : {"a.exe", "Daten", "Hilfe", "Geheim", "leer"})
    EXPECT_LT(IndexOf(list, p + direct), IndexOf(list, p + "Daten\\kunden.hdb")) << direct;
  EXPECT_LT(IndexOf(list, p + "Daten\\Alt"), IndexOf(list, p + "Daten\\Alt\\2019.hdb"));
  const size_t help = IndexOf(list, p + "Hilfe\\hilfe.hlp");
  EXPECT_TRUE(help < IndexOf(list, p + "Daten\\kunden.hdb") || help > IndexOf(list, p + "Daten\\Alt\\2019.hdb"));

  std::vector<std::string> flat;
  ListTree(p + "*.*", false, flat);
  std::erase(flat, p + "Verweis");
  EXPECT_EQ(flat.size(), 5u);
  std::vector<std::string> none;
  ListTree(p + "fehlt\\*.*", true, none);
  EXPECT_TRUE(none.empty());
}

TEST(MakeTempFileName, AnEmptyDollarFileInTheTemporaryFolder) {
  const std::string name = MakeTempFileName();
  EXPECT_EQ(name.rfind(TempDir() + "$", 0), 0u) << name;
  EXPECT_TRUE(name.ends_with(".tmp") || name.ends_with(".TMP")) << name;
  EXPECT_EQ(FileText(name), "");
  EXPECT_TRUE(Exists(name));
  EXPECT_NE(MakeTempFileName(), name);
  DeleteFileNamed(name);
}

// The batch file is read in the OEM code page: a folder named outside it goes in by a name the
// interpreter can read (its short name), the text in OEM bytes, or UTF-8 behind a switch.
TEST(RemovalBatch, NamesTheInterpreterCanRead) {
  TempFolder root("batch_names");
  for (const std::string& name : {std::string("Bürosoftware"), std::string("Adressen Ωmega 王芳"), std::string("Łódź")}) {
    SCOPED_TRACE(name);
    const std::string dir = root.Folder(name), shown = NameForBatch(dir);
    std::string oem;
    EXPECT_TRUE(ToCodePage(CP_OEMCP, shown, oem)) << shown;
    EXPECT_TRUE(DirectoryExists(shown)) << shown;
    EXPECT_EQ(BatchFileBytes("rmdir \"" + shown + "\"\r\n"), "rmdir \"" + oem + "\"\r\n");
  }
  EXPECT_EQ(BatchFileBytes("del \"C:\\王芳\"\r\n").rfind("chcp 65001 >nul\r\ndel \"C:\\王芳\"", 0), 0u) << "where no short name helps";
}

TEST(FolderGuard, NoLinkOnTheWay) {
  TempFolder root("within");
  const std::string p = root.Path();
  for (const char* folder : {"prog", "prog\\Daten", "draussen"}) root.Folder(folder);
  FolderGuard guard;
  EXPECT_TRUE(guard.Admits(root.File("prog\\Daten\\a.hdb", "a"), p + "prog"));
  EXPECT_TRUE(guard.Admits(p + "prog\\a.exe", p + "prog"));
  EXPECT_FALSE(guard.Admits(p + "prog\\Fehlt\\a.txt", p + "prog"));
  const std::string outside = root.File("draussen\\wichtig.doc", "w");
  if (!MakeFolderLink(p + "prog\\Verweis", p + "draussen")) GTEST_SKIP() << "no folder links";
  EXPECT_FALSE(guard.Admits(p + "prog\\Verweis\\wichtig.doc", p + "prog"));
  EXPECT_TRUE(guard.Admits(p + "prog\\Daten\\b.hdb", p + "prog"));
  EXPECT_FALSE(guard.Admits(p + "prog\\Verweis\\x.doc", p + "prog")) << "what was plain is no pass elsewhere";
  EXPECT_TRUE(Exists(outside));
}
