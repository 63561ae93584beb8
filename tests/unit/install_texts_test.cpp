#include "install/install_texts.h"

#include <gtest/gtest.h>

#include "transfer/copy_messages.h"

TEST(CopyMessages, QuestionsAndFailureAsTheUserReadsThem) {
  EXPECT_EQ(CopyQuestionText("c:\\ziel\\", "ADRESSEN.EXE"),
            "Die Datei c:\\ziel\\ADRESSEN.EXE\rkonnnte nicht kopiert werden!\r\r"
            "Erneut versuchen ?\r\rStellen Sie bitte sicher, das eine bereits existierende Datei "
            "nicht von einem anderen Programm geöffnet ist oder die zu überschreibende "
            "Programmdatei nicht gerade ausgeführt wird!\r\rDrücken Sie \"Ja\" für erneuten "
            "Versuch, \"Nein\" für überspringen, \"Abrechen\" für Installationsabbruch.");
  const std::string expand = ExpandQuestionText("c:\\dist\\", "ADRESSEN.EX_", "c:\\ziel\\", "ADRESSEN.EXE");
  EXPECT_TRUE(expand.starts_with("Die Datei c:\\dist\\ADRESSEN.EX_\r\rkonnte nicht nach \r\r"
                                 "c:\\ziel\\ADRESSEN.EXE kopiert werden!\r\rErneut versuchen ?"));
  EXPECT_NE(expand.find("nicht gerade ausgeführt wird !\r\rDrücken"), std::string::npos);
  EXPECT_EQ(CopyFailedText("c:\\ziel\\", "A.DLL"), "Datei c:\\ziel\\A.DLL konnte nicht kopiert werden!");
}

TEST(InstallTexts, CompletionWithAndWithoutTheAdministratorsReminder) {
  EXPECT_EQ(InstallFailedText("C:\\Programme\\Adressen"),
            "Bei der Installation des Programmes in das Verzeichnis \r\n\r\nC:\\Programme\\Adressen"
            "\r\n\r\nsind Fehler aufgetreten!\r\n\r\nBitte wiederholen Sie die Installation.");
  const std::string plain = InstallDoneText("C:\\A", false);
  EXPECT_EQ(plain, "Das Programm wurde ordnungsgemäß im Verzeichnis \r\n\r\nC:\\A\r\n\r\n"
                   "installiert!\r\n\r\nSoll das Anwendungsprogramm jetzt gestartet werden?");
  const std::string admin = InstallDoneText("C:\\A", true);
  EXPECT_NE(admin.find("installiert!\r\n\r\nFalls Sie das Programm für einen anderen Benutzer "
                       "ohne Administratorenrechte installieren wollten, müssen Sie diesem "
                       "Benutzer noch Schreib- und Leserechte für das Installationsverzeichnis "
                       "verleihen, falls dieser noch nicht hierrüber verfügt.\r\n\r\nSoll das"),
            std::string::npos);
}
