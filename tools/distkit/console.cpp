#include "console.h"

#include <cstring>

std::string InEnglish(std::string message) {
  static const char* const Phrases[][2] = {
      {": Keine komprimierte Datei!", ": not in the compressed format"},
      {": Beschädigte komprimierte Datei", ": damaged compressed data"},
      {"negative Größe", "a negative size"},
      {" nicht gefunden!", ": not found"},
      {"Lesefehler: ", "cannot read "},
      {"Zu wenig Speicher für I/O Buffers !!", "not enough memory"},
      {"Konnte ", "cannot open "},
      {" nicht öffnen!", ""},
  };
  for (const auto& [german, english] : Phrases)
    if (const size_t at = message.find(german); at != std::string::npos)
      message.replace(at, std::strlen(german), english);
  return message;
}
