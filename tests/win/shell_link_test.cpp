#include "env/shell_link.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/e2e/driver.h"
#include "tests/win/win_test_util.h"



TEST(CreateShellLink, TheSecondCallOnOnePathLeavesItsOwnSettings) {
  TempFolder temp("links");
  const std::string first = temp.File("Erstes.exe", "MZ");
  const std::string second = temp.File("Zweites.exe", "MZ");
  const std::string work = temp.Folder("Arbeit");
  const std::string link = temp.Path() + "Adressen.lnk";

  CreateShellLink(first, "Erste Beschreibung", link, temp.Path(), SW_SHOWMAXIMIZED);
  ShellLinkFields fields = ReadShellLink(link);
  EXPECT_EQ(fields.path, first);
  EXPECT_EQ(fields.description, "Erste Beschreibung");
  EXPECT_EQ(fields.showCmd, SW_SHOWMAXIMIZED);

  CreateShellLink(second, "Adressverwaltung", link, work, SW_SHOWNORMAL);
  fields = ReadShellLink(link);
  EXPECT_EQ(fields.path, second);
  EXPECT_EQ(fields.description, "Adressverwaltung");
  EXPECT_EQ(fields.workingDir, work);
  EXPECT_EQ(fields.showCmd, SW_SHOWNORMAL);
}

TEST(CreateShellLink, NamesWithUmlautsAndANamelessFolderFailSilently) {
  TempFolder temp("linknames");
  const std::string target = temp.File("Prüfung.exe", "MZ");
  const std::string link = temp.Path() + "Größe prüfen.lnk";
  CreateShellLink(target, "Größe", link, temp.Path(), SW_SHOWNORMAL);
  EXPECT_TRUE(Exists(link));
  EXPECT_EQ(ReadShellLink(link).path, target);
  EXPECT_EQ(ReadShellLink(link).description, "Größe");

  // A folder that does not exist: no file, no message, no crash.
  const std::string nowhere = temp.Path() + "fehlt\\Adressen.lnk";
  CreateShellLink(target, "x", nowhere, temp.Path(), SW_SHOWNORMAL);
  EXPECT_FALSE(Exists(nowhere));
  // A link path longer than a path may be is refused before anything is written.
  CreateShellLink(target, "x", temp.Path() + std::string(300, 'a') + ".lnk", temp.Path(),
                  SW_SHOWNORMAL);
}
