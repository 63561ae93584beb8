// The German messages of library failures, shown in the application's general error box.
#pragma once
#include <string>

inline std::string CannotOpenError(const std::string& path) { return "Kann Datei " + path + " nicht öffnen"; }
inline std::string CannotCreateError(const std::string& path) { return "Kann Datei " + path + " nicht erstellen"; }
inline std::string CannotWriteError(const std::string& path) { return "Kann nicht nach " + path + " schreiben"; }
std::string IoError(unsigned long code);
// A file of the distribution whose bytes are not those Setup.lst records, and what to do.
inline std::string DamagedFileError(const std::string& path) {
  return "Die Datei " + path + " der Installationsdateien ist beschädigt: ihr Inhalt stimmt nicht mit der "
         "Prüfsumme in Setup.lst überein.\r\rLaden Sie die Installationsdateien bitte erneut herunter oder "
         "kopieren Sie sie erneut vom Datenträger.";
}
