#include "install/install_texts.h"

#include "env/paths.h"

namespace {
constexpr char Paragraph[] = "\r\n\r\n";
}  // namespace

std::string InstallFailedText(const std::string& directory) {
  return Concat({"Bei der Installation des Programmes in das Verzeichnis ", Paragraph, directory, Paragraph,
                 "sind Fehler aufgetreten!", Paragraph, "Bitte wiederholen Sie die Installation."});
}

std::string ShortcutsMissingText(const std::vector<std::string>& missing) {
  std::string list;
  for (const std::string& link : missing) list += (list.empty() ? "" : "\r\n") + link;
  return Concat({"Folgende Verknüpfungen konnten nicht angelegt werden:", Paragraph, list, Paragraph,
                 "Das Programm selbst ist vollständig installiert."});
}

std::string InstallDoneText(const std::string& directory, bool ntAdministrator) {
  return Concat({"Das Programm wurde ordnungsgemäß im Verzeichnis ", Paragraph, directory, Paragraph, "installiert!",
                 Paragraph,
                 ntAdministrator ? "Falls Sie das Programm für einen anderen Benutzer "
                                   "ohne Administratorenrechte installieren wollten, müssen "
                                   "Sie diesem Benutzer noch Schreib- und Leserechte für das "
                                   "Installationsverzeichnis verleihen, falls dieser noch nicht "
                                   "hierrüber verfügt."
                                 : "",
                 ntAdministrator ? Paragraph : "", "Soll das Anwendungsprogramm jetzt gestartet werden?"});
}

std::string DowngradeQuestionText(const std::string& program, const std::string& installed,
                                  const std::string& offered) {
  return Concat({"Auf diesem Computer ist ", program, " bereits in der Version ", installed, " installiert.", Paragraph,
                 "Soll sie durch die ältere Version ", offered, " ersetzt werden?"});
}
