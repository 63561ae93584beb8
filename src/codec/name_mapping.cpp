#include "codec/name_mapping.h"

#include "env/paths.h"

namespace {
struct Mapping {
  const char* test;  // searched in the upper-cased extension, or (row 6) the lower-cased name
  const char* extension;
  bool wholeName;
};
// Tested in this order; the first hit decides.
constexpr Mapping Table[] = {
    {".EX_", ".EXE", false}, {".HL_", ".HLP", false},       {".DL_", ".DLL", false}, {".VB_", ".VBX", false},
    {".RP_", ".RPT", false}, {"zbt-ww8.do_", ".DOC", true}, {".DO_", ".DOT", false}, {".HD_", ".HDB", false},
    {".EP_", ".EPF", false}, {".DA_", ".DAT", false},       {".TX_", ".TXT", false},
};
}  // namespace

std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string MapCompressedName(const std::string& name) {
  const std::string extension = ExtensionOf(name);
  const std::string upper = UpperCase(extension);
  const std::string lowerName = LowerCase(name);
  for (const Mapping& m : Table) {
    const bool hit =
        m.wholeName ? lowerName.find(m.test) != std::string::npos : upper.find(m.test) != std::string::npos;
    if (hit) return name.substr(0, name.size() - extension.size()) + m.extension;
  }
  return name;
}

bool IsCompressedName(const std::string& name) {
  const std::string extension = ExtensionOf(name);
  return extension.size() >= 4 && extension[3] == '_';
}
