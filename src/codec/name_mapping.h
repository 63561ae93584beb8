// Names of compressed distribution files and the names they install under. Portable.
#pragma once
#include <string>

// The installed name: a compressed extension (".EX_", ".HL_", ...) replaced by its full one
// in upper case; any other name unchanged.
std::string MapCompressedName(const std::string& name);
// A file is compressed when the third character after its extension's dot is "_".
bool IsCompressedName(const std::string& name);
// The extension from the last dot on, dot included; empty when there is no dot.
std::string ExtensionOf(const std::string& name);
