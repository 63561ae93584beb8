// The registry, wrapped once. Every key is opened with full access; an open that fails
// (missing key, or no rights) gives an invalid key, which callers treat as missing.
#pragma once
#include <windows.h>

#include <string>

#include "env/handles.h"

RegKey OpenRegistryKey(HKEY root, const std::string& path, bool create);
// The text value as stored (an expandable value is not expanded); empty when absent.
std::string ReadRegistryString(const RegKey& key, const std::string& name);
bool WriteRegistryString(const RegKey& key, const std::string& name, const std::string& value);
bool WriteRegistryDword(const RegKey& key, const std::string& name, DWORD value);
// A number value; false when it is absent or not a number.
bool ReadRegistryDword(const RegKey& key, const std::string& name, DWORD& value);
bool DeleteRegistryValue(const RegKey& key, const std::string& name);
// The name of the key's index-th subkey; empty past the last.
std::string RegistrySubkeyName(const RegKey& key, DWORD index);
// Deletes the key with all its subkeys, deepest first.
bool DeleteRegistryTree(HKEY root, const std::string& path);
