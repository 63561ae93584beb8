#include "transfer/copy_messages.h"

#include "env/library_error.h"
#include "env/paths.h"

namespace {
// These messages break lines with a lone carriage return.
constexpr char Break[] = "\r";
constexpr char TwoBreaks[] = "\r\r";

std::string RetryAdvice(const char* executedEnd) {
  return Concat(
      {"Erneut versuchen ?", TwoBreaks, "Stellen Sie bitte sicher, das eine bereits existierende Datei nicht von ",
       "einem anderen Programm geöffnet ist oder die zu überschreibende Programmdatei ", executedEnd, TwoBreaks,
       "Drücken Sie \"Ja\" für erneuten Versuch, \"Nein\" für überspringen, "
       "\"Abrechen\" für Installationsabbruch."});
}
}  // namespace

std::string CopyQuestionText(const std::string& targetDir, const std::string& targetName) {
  return Concat({"Die Datei ", targetDir, targetName, Break, "konnnte nicht kopiert werden!", TwoBreaks,
                 RetryAdvice("nicht gerade ausgeführt wird!")});
}

std::string ExpandQuestionText(const std::string& sourceDir, const std::string& sourceName,
                               const std::string& targetDir, const std::string& targetName) {
  return Concat({"Die Datei ", sourceDir, sourceName, TwoBreaks, "konnte nicht nach ", TwoBreaks, targetDir, targetName,
                 " kopiert werden!", TwoBreaks, RetryAdvice("nicht gerade ausgeführt wird !")});
}

std::string CopyFailedText(const std::string& targetDir, const std::string& targetName) {
  return Concat({"Datei ", targetDir, targetName, " konnte nicht kopiert werden!"});
}

std::string DamagedQuestionText(const std::string& sourceDir, const std::string& sourceName) {
  return Concat({DamagedFileError(sourceDir + sourceName), TwoBreaks, "Erneut versuchen ?", TwoBreaks,
                 "Drücken Sie \"Ja\" für erneuten Versuch, \"Nein\" für überspringen, "
                 "\"Abrechen\" für Installationsabbruch."});
}

std::string DamagedFailedText(const std::string& sourceDir, const std::string& sourceName) {
  return Concat({DamagedFileError(sourceDir + sourceName), TwoBreaks, "Die Datei wurde nicht installiert."});
}
