// What a log may make the uninstaller delete, and the batch file that removes it at the end.
#include "env/removal_rules.h"

#include <gtest/gtest.h>

TEST(RemovalRules, OnlyPlainAbsolutePathsCount) {
  for (const char* good :
       {"C:\\Programme\\Adressen\\adressen.exe", "c:\\a", "C:\\a\\b\\", "\\\\server\\share\\adressen\\a.exe", "D:\\Grüße\\x.y"})
    EXPECT_TRUE(IsPlainAbsolutePath(good)) << good;
  for (const char* bad : {"", "adressen.exe", "\\adressen.exe", "C:adressen.exe", "C:\\a\\..\\Windows\\win.ini", "C:\\a\\.\\b", "C:\\a\\..",
                          "C:\\a\\\\b", "C:\\a\\*.*", "C:\\a\\b?.exe", "C:/a/b", "\\\\?\\C:\\a", "\\\\.\\PhysicalDrive0",
                          "C:\\a\\b.txt:stream", "\\\\server", "\\\\\\share\\a"})
    EXPECT_FALSE(IsPlainAbsolutePath(bad)) << bad;
}

TEST(RemovalRules, TheProgramDirectoryMustBeARealOne) {
  const ProtectedFolders system = {"C:\\WINDOWS", "C:\\Dokumente und Einstellungen", "C:\\Programme"};
  for (const char* good : {"C:\\Programme\\Adressen", "C:\\Programme\\Adressen\\", "C:\\Dokumente und Einstellungen\\anna\\Adressen",
                           "D:\\Apps\\Kasse", "C:\\WINDOWSX\\app"})
    EXPECT_TRUE(IsRealProgramDirectory(good, system)) << good;
  for (const char* bad : {"", "C:", "C:\\", "D:\\", "\\\\server\\share", "\\\\server\\share\\", "C:\\windows", "C:\\WINDOWS\\system32",
                          "C:\\Programme", "C:\\Dokumente und Einstellungen", "C:\\Programme\\..\\WINDOWS", "adressen", "C:\\a\\*"})
    EXPECT_FALSE(IsRealProgramDirectory(bad, system)) << bad;
  // A profiles folder deeper down protects the folders above it.
  EXPECT_FALSE(IsRealProgramDirectory("D:\\Daten", {"C:\\WINDOWS", "D:\\Daten\\Profile", ""}));
}

TEST(RemovalRules, ALoggedFileGoesOnlyFromWhereTheInstallerWrites) {
  const std::string dir = "C:\\Programme\\Adressen", windows = "C:\\WINDOWS";
  for (const char* good : {"c:\\programme\\adressen\\adressen.exe", "C:\\Programme\\Adressen\\Daten\\a.hdb", "c:\\windows\\adrhelp.dll"})
    EXPECT_TRUE(MayDeleteLoggedFile(good, dir, windows)) << good;
  for (const char* bad :
       {"c:\\windows\\system32\\kernel32.dll", "c:\\x.exe", "C:\\Programme\\Adressen\\..\\Anders\\a.exe",
        "C:\\Programme\\AdressenAlt\\a.exe", "C:\\Programme\\Adressen", "C:\\Programme\\Adressen\\", "C:\\Programme\\Adressen\\*.*"})
    EXPECT_FALSE(MayDeleteLoggedFile(bad, dir, windows)) << bad;
  // Without a real program directory only the Windows directory's own files qualify.
  EXPECT_FALSE(MayDeleteLoggedFile("c:\\programme\\adressen\\adressen.exe", "", windows));
  EXPECT_TRUE(MayDeleteLoggedFile("c:\\windows\\adrhelp.dll", "", windows));
}

TEST(RemovalRules, FoldersAboveGoOnlyWhenTheyAreRealAndAboveTheProgram) {
  const ProtectedFolders system = {"C:\\WINDOWS", "C:\\Users", "C:\\Program Files"};
  const std::vector<std::string> logged = {"C:\\A",          "c:\\a\\b",          "C:\\",         "C:\\WINDOWS", "D:\\A",
                                           "C:\\A\\B\\Prog", "C:\\A\\B\\Prog\\x", "C:\\A\\..\\A", "C:\\Users",   "C:\\Users\\Tom"};
  EXPECT_EQ(FoldersToRemoveAbove(logged, "C:\\A\\B\\Prog", system), (std::vector<std::string>{"c:\\a\\b", "C:\\A"}));
  EXPECT_EQ(FoldersToRemoveAbove(logged, "C:\\Users\\Tom\\Prog", system), (std::vector<std::string>{"C:\\Users\\Tom"}));
  EXPECT_TRUE(FoldersToRemoveAbove(logged, "", system).empty());
}

TEST(RemovalRules, NamesFromTheLog) {
  EXPECT_TRUE(IsSingleKeyName("Adressen"));
  EXPECT_TRUE(IsSingleKeyName("Adressen 2.0"));
  for (const char* bad : {"", "   ", "Adressen\\Sub", "\\"}) EXPECT_FALSE(IsSingleKeyName(bad)) << bad;
  // The registry's limit counts UTF-16 units: "ł" is one, "𝄞" two.
  std::string l255, clefs;
  for (int k = 0; k < 255; ++k) (l255 += "ł"), (clefs += k < 127 ? "𝄞" : "");
  for (const auto& [name, taken] : {std::pair{std::string(255, 'x'), true},
                                    {std::string(256, 'x'), false},
                                    {l255, true},
                                    {clefs + "x", true},
                                    {clefs + "𝄞", false},
                                    {std::string("ł\\"), false}})
    EXPECT_EQ(IsRegistryKeyName(name), taken) << name.size();
  const std::string profiles = "C:\\Dokumente und Einstellungen";
  EXPECT_TRUE(IsProfileFolder("C:\\Dokumente und Einstellungen\\All Users", profiles));
  EXPECT_TRUE(IsProfileFolder("c:\\dokumente und einstellungen\\anna\\", profiles));
  for (const char* bad : {"", "C:\\", "C:\\Dokumente und Einstellungen", "C:\\Dokumente und Einstellungen\\anna\\Desktop",
                          "C:\\Dokumente und Einstellungen\\..\\WINDOWS", "D:\\anna"})
    EXPECT_FALSE(IsProfileFolder(bad, profiles)) << bad;
}

// What the log says of a file's origin, and what the removal reads back from it.
TEST(RemovalRules, OriginsAndSharedCounts) {
  const struct {
    bool found, shared;
    const char* text;
  } origins[] = {{false, false, ""}, {true, false, "found"}, {false, true, "shared"}, {true, true, "found,shared"}};
  for (const auto& o : origins) {
    EXPECT_EQ(FileOriginText(o.found, o.shared), o.text);
    EXPECT_EQ(OriginSays(o.text, "found"), o.found) << o.text;
    EXPECT_EQ(OriginSays(o.text, "shared"), o.shared) << o.text;
  }
  // Written by hand or by a later version: words in any case and order, nothing by halves.
  EXPECT_TRUE(OriginSays("Shared,FOUND", "found") && OriginSays("later,shared", "shared"));
  for (const char* not_shared : {"share", "shared2", "sharedfound", ",", "notshared"})
    EXPECT_FALSE(OriginSays(not_shared, "shared")) << not_shared;
  // One more user: a library found uncounted had one already.
  EXPECT_EQ(std::vector<unsigned long>({SharedUsesAfterInstall(false, 0, false), SharedUsesAfterInstall(false, 0, true),
                                        SharedUsesAfterInstall(true, 3, true), SharedUsesAfterInstall(true, 1, false)}),
            std::vector<unsigned long>({1, 2, 4, 2}));
}

TEST(RemovalRules, TheRegisteredUninstallerAndTheShortcutsThatMayGo) {
  for (const auto& [command, program] : std::vector<std::pair<std::string, std::string>>{
           {"\"C:\\Programme\\Adressen\\Uninstal.exe\"", "C:\\Programme\\Adressen\\Uninstal.exe"},
           {"\"C:\\Pro gramme\\Uninstal.exe\" /q", "C:\\Pro gramme\\Uninstal.exe"},
           {"C:\\Pro gramme\\Uninstal.exe", "C:\\Pro gramme\\Uninstal.exe"},
           {"\"C:\\offen", ""},
           {"", ""}})
    EXPECT_EQ(CommandProgram(command), program) << command;
  const std::vector<std::string> folders = {"C:\\Users\\anna\\Start Menu\\Programs\\Adressen", "", "C:\\Users\\anna\\Desktop\\"};
  for (const char* good : {"C:\\Users\\anna\\Start Menu\\Programs\\Adressen\\Hilfe.LNK", "c:\\users\\anna\\desktop\\adressen.lnk"})
    EXPECT_TRUE(MayDeleteShortcut(good, folders)) << good;
  for (const char* bad :
       {"C:\\Users\\anna\\Desktop\\brief.txt", "C:\\Users\\anna\\Desktop\\Sub\\a.lnk", "C:\\Users\\anna\\Desktop\\..\\Documents\\a.lnk",
        "C:\\Users\\anna\\a.lnk", "\\a.lnk", ".lnk", "C:\\Windows\\x.lnk"})
    EXPECT_FALSE(MayDeleteShortcut(bad, folders)) << bad;
}

TEST(RemovalRules, TheWaitingOfTheFileLoopStaysNearFiveSeconds) {
  EXPECT_EQ(PausePerFile(1), 700u);
  EXPECT_EQ(PausePerFile(7), 700u);
  for (size_t n : {8u, 100u, 1000u, 20000u}) EXPECT_LE(n * PausePerFile(n), 5000u) << n;
  EXPECT_GE(100 * PausePerFile(100), 4000u) << "a short loop is not rushed";
}

TEST(RemovalRules, TheBatchFileQuotesItsPathsAndDoublesPercentSigns) {
  const std::string text =
      RemovalBatchText("C:\\Pro gramme\\100%\\Uninstal.exe", "C:\\Pro gramme\\100%", {"C:\\Pro gramme"}, "C:\\TEMP\\$1A2B.bat");
  EXPECT_NE(text.find("del \"C:\\Pro gramme\\100%%\\Uninstal.exe\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("if not exist \"C:\\Pro gramme\\100%%\\Uninstal.exe\" goto label2\r\n"), std::string::npos);
  EXPECT_NE(text.find("rmdir \"C:\\Pro gramme\\100%%\"\r\nrmdir \"C:\\Pro gramme\"\r\n"), std::string::npos);
  EXPECT_TRUE(text.ends_with("del \"C:\\TEMP\\$1A2B.bat\"\r\n"));
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    EXPECT_EQ(text[at - 1], '\r') << "every line ends in CR LF";
}
