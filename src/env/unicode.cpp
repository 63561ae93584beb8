#include "env/unicode.h"

namespace {
constexpr char32_t Replacement = 0xFFFD;

// The code point of the well-formed sequence at text[at], its length in used; none (0 used)
// when the bytes there form none.
char32_t DecodeAt(std::string_view text, size_t at, size_t& used) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  used = 1;
  if (lead < 0x80) return lead;
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return used = 0;
  char32_t code = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return used = 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return used = 0;
  used = length;
  return code;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// CP1252's 0x80..0x9F; its five unassigned bytes keep the C1 control of their value, as the
// system's conversion does.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (size_t at = 0, used = 0; at < utf8.size(); at += used ? used : 1) {
    char32_t code = DecodeAt(utf8, at, used);
    if (!used) code = Replacement;
    if (code >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }
  return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t at = 0; at < utf16.size(); ++at) {
    char32_t code = utf16[at];
    if (code >= 0xD800 && code <= 0xDBFF && at + 1 < utf16.size() && utf16[at + 1] >= 0xDC00 && utf16[at + 1] <= 0xDFFF)
      code = 0x10000 + ((code - 0xD800) << 10) + (utf16[++at] - 0xDC00);
    else if (code >= 0xD800 && code <= 0xDFFF)
      code = Replacement;
    AppendUtf8(out, code);
  }
  return out;
}

std::string Utf8FromCp1252(std::string_view cp1252) {
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  for (const char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    AppendUtf8(out, byte >= 0x80 && byte < 0xA0 ? Cp1252High[byte - 0x80] : byte);
  }
  return out;
}

bool Cp1252FromUtf8(std::string_view utf8, std::string& cp1252) {
  cp1252.clear();
  bool whole = true;
  for (const char16_t letter : Utf16FromUtf8(utf8)) {
    unsigned byte = letter < 0x100 && (letter < 0x80 || letter >= 0xA0) ? letter : '?';
    for (unsigned k = 0; k < 32 && byte == '?'; ++k)
      if (Cp1252High[k] == letter) byte = 0x80 + k;
    whole = whole && (byte != '?' || letter == '?');
    cp1252 += static_cast<char>(byte);
  }
  return whole;
}

bool IsUtf8(std::string_view bytes) {
  for (size_t at = 0, used = 0; at < bytes.size(); at += used) {
    DecodeAt(bytes, at, used);
    if (!used) return false;
  }
  return true;
}

std::string DistributionText(std::string_view bytes) {
  if (bytes.substr(0, Utf8Bom.size()) != Utf8Bom) return Utf8FromCp1252(bytes);
  // Malformed bytes after the mark become U+FFFD, so that a name is never passed on cut.
  return Utf8FromUtf16(Utf16FromUtf8(bytes.substr(Utf8Bom.size())));
}

bool InDistributionEncoding(std::string_view fileBytes, std::string_view text, std::string& bytes) {
  if (fileBytes.substr(0, Utf8Bom.size()) != Utf8Bom) return Cp1252FromUtf8(text, bytes);
  bytes = text;
  return true;
}
