#include "env/shell_link.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/win/win_test_util.h"

// A second call on one path leaves its own settings; umlauts pass; a link where none can be
// made fails, and says so, without a message.
TEST(CreateShellLink, WritesReplacesAndReportsAFailure) {
  TempFolder temp("links");
  const std::string first = temp.File("Erstes.exe", "MZ"), second = temp.File("Prüfung.exe", "MZ");
  const std::string work = temp.Folder("Arbeit"), link = temp.Path() + "Größe prüfen.lnk";
  EXPECT_TRUE(CreateShellLink(first, "Erste Beschreibung", link, temp.Path(), SW_SHOWMAXIMIZED));
  EXPECT_EQ(ReadShellLink(link).showCmd, SW_SHOWMAXIMIZED);
  CreateShellLink(second, "Größe", link, work, SW_SHOWNORMAL);
  const ShellLinkFields fields = ReadShellLink(link);
  EXPECT_EQ(fields.path, second);
  EXPECT_EQ(fields.description, "Größe");
  EXPECT_EQ(fields.workingDir, work);
  EXPECT_EQ(fields.showCmd, SW_SHOWNORMAL);
  for (const std::string& nowhere : {temp.Path() + "fehlt\\Adressen.lnk", temp.Path() + std::string(300, 'a') + ".lnk"}) {
    EXPECT_FALSE(CreateShellLink(second, "x", nowhere, temp.Path(), SW_SHOWNORMAL));
    EXPECT_FALSE(Exists(nowhere));
  }
}
