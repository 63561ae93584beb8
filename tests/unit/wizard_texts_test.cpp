#include "install/wizard_texts.h"

#include <gtest/gtest.h>

#include "install/user_choice.h"

namespace {
constexpr const char* AllVersionNames[] = {"Windows 95", "Windows 98",   "Windows 98SE",
                                           "Windows ME", "Windows NT",   "Windows 2000",
                                           "Windows XP", "Unknown"};

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
}  // namespace

TEST(WizardTexts, AdviceOnlyForALimitedUserOnTheThreeNtNames) {
  for (const char* name : AllVersionNames) {
    const std::string version = name;
    const bool nt = version == "Windows NT" || version == "Windows 2000" || version == "Windows XP";
    EXPECT_EQ(IsLimitedNtUser(version, false), nt) << version;
    EXPECT_FALSE(IsLimitedNtUser(version, true)) << version;
  }
}

TEST(WizardTexts, AdministratorAdviceNamesProgramSystemAndDirectory) {
  const std::string text =
      AdministratorAdviceText("Adressen", "Windows XP", "C:\\Programme\\Adressen");
  EXPECT_EQ(text.rfind("Das Setup-Programm hat festgestellt, dass Sie Adressen auf ein "
                       "Betriebsystem (Windows XP) installieren möchten, welches über eine "
                       "Benutzerverwaltung verfügt, jedoch besitzen Sie unter dem aktuell "
                       "verwendeten Benutzerkonto keine Administratorenrechte.\r\n\r\n"
                       "Dies kann evtl.",
                       0),
            0u);
  EXPECT_TRUE(Contains(text, "vorgeschlagene Verzeichnis (C:\\Programme\\Adressen) installieren "
                             "lässt (bitte versuchen Sie es aber zunächst).\r\n\r\nIn diesem"));
  EXPECT_TRUE(Contains(text, "z.B. \"Dokumente und Einstellungen\". Bei Windows XP HOME ist dies "
                             "die einzige Möglichkeit"));
  EXPECT_TRUE(Contains(text, "installieren wollen.\r\n\r\nUnter Windows NT, Windows 2000"));
  EXPECT_TRUE(text.ends_with("für das Installationsverzeichnis Lese- und Schreibrechte verleihen."));
  EXPECT_EQ(static_cast<unsigned char>(text[text.find("chten, welches") - 1]), 0xF6u);  // ö in CP1252
}

TEST(WizardTexts, PlaceholderReplacedOnceWithTheRestCutAt255) {
  const struct {
    std::string text, name, expected;
  } rows[] = {
      {"richtet <Prog> auf Ihren Computer ein.", "Adressen", "richtet Adressen auf Ihren Computer ein."},
      {"<Prog> und <Prog>", "A", "A und <Prog>"},
      {"ohne Platzhalter", "Adressen", "ohne Platzhalter"},
      {"<Prog>", "", ""},
      {"<prog> klein", "X", "<prog> klein"},
      {"a<Prog>" + std::string(300, 'z'), "N", "aN" + std::string(255, 'z')},
  };
  for (const auto& row : rows)
    EXPECT_EQ(ReplaceProgPlaceholder(row.text, row.name), row.expected) << row.text;
}

TEST(WizardTexts, DirectoryRulesAndMessages) {
  for (const char* path : {"C:\\", "D:", "", "C", "\\\\"}) EXPECT_TRUE(IsMainDirectory(path)) << path;
  for (const char* path : {"C:\\a", "D:\\x\\", "abcd"}) EXPECT_FALSE(IsMainDirectory(path)) << path;
  EXPECT_EQ(CreateDirectoryQuestion(), "Verzeichnis existiert nicht!\r\n\r\nErstellen?");

  const std::string plain = DirectoryWarningText("X:\\Adressen", false);
  EXPECT_TRUE(plain.starts_with("Konnte Verzeichnis \"X:\\Adressen\" nicht erstellen oder in das "
                                "Verzeichnis kann nicht kopiert werden!\r\n\r\nEntweder ist das "
                                "Laufwerkt nicht schreibbereit oder es fehlt"));
  EXPECT_TRUE(plain.ends_with("(das Setup-Programm schlägt nun einmalig ein anderes Verzeichnis vor)."));
  const std::string limited = DirectoryWarningText("X:\\Adressen", true);
  EXPECT_EQ(limited, plain + "\r\n\r\nOder Sie melden sich als Administrator an, um das Programm "
                             "zu installieren bzw. Sie bitten den Administrator, Ihnen "
                             "entsprechende Berechtigungen zur Installation des Programmes "
                             "einzuräumen.");
}

TEST(WizardTexts, ProposalLiesInTheUsersProfile) {
  const std::string profiles = "C:\\Dokumente und Einstellungen";
  EXPECT_EQ(ProfileProposal(profiles, "hans", "C:\\Programme\\Adressen"),
            "C:\\Dokumente und Einstellungen\\hans\\Adressen");
  EXPECT_EQ(ProfileProposal(profiles + "\\", "hans", "D:Adressen"),
            "C:\\Dokumente und Einstellungen\\hans\\Adressen");
  EXPECT_EQ(ProfileProposal(profiles, "hans", "C:\\Programme\\"),
            "C:\\Dokumente und Einstellungen\\hans\\");
}

TEST(UserChoice, DisplayedNamesAndPreselection) {
  EXPECT_EQ(DisplayedUserName("All Users"), "Alle Anwender");
  EXPECT_EQ(DisplayedUserName("All Users.WINDOWS"), "Alle Anwender");
  EXPECT_EQ(DisplayedUserName("jdoe.PC1"), "jdoe");
  EXPECT_EQ(DisplayedUserName("a.b.c"), "a");
  EXPECT_EQ(DisplayedUserName("hans"), "hans");
  EXPECT_EQ(DisplayedUserName(""), "");

  const std::vector<std::string> users = {"All Users", "xjdoe.PC1", "jdoe", "JDOE2"};
  EXPECT_EQ(PreselectedUser(users, "jdoe"), 1);  // part of a longer name, first in the list
  EXPECT_EQ(PreselectedUser(users, "JDOE"), 3);  // letter case counts
  EXPECT_EQ(PreselectedUser(users, "maria"), 0);
  EXPECT_EQ(PreselectedUser({}, "maria"), 0);
}
