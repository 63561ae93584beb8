#include "console.h"

#include <cstring>

// The program's texts are CP1252; a Linux terminal wants UTF-8.
std::string ToConsole(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  static const char16_t High[32] = {0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x2C6, 0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F,
                                    0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178};
  std::string out;
  for (unsigned char c : text) {
    const unsigned u = c < 0x80 ? c : c < 0xA0 ? High[c - 0x80] : c;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
#endif
}

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
    if (const size_t at = message.find(german); at != std::string::npos) message.replace(at, std::strlen(german), english);
  return message;
}
