#include "env/library_error.h"

#include "env/paths.h"

std::string IoError(unsigned long code) { return "I/O-Fehler " + DecimalText(code); }

std::string CannotOpenError(const std::string& path) { return "Kann Datei " + path + " nicht öffnen"; }

std::string CannotCreateError(const std::string& path) { return "Kann Datei " + path + " nicht erstellen"; }

std::string CannotWriteError(const std::string& path) { return "Kann nicht nach " + path + " schreiben"; }

std::string DamagedFileError(const std::string& path) {
  return "Die Datei " + path +
         " der Installationsdateien ist beschädigt: ihr Inhalt stimmt nicht mit der "
         "Prüfsumme in Setup.lst überein.\r\rLaden Sie die Installationsdateien bitte erneut herunter oder "
         "kopieren Sie sie erneut vom Datenträger.";
}
