#include "env/registry.h"

#include <vector>

namespace {
// Paths are written absolute ("\Software\..."); the registry functions want them relative.
std::string Relative(const std::string& path) {
  size_t start = path.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : path.substr(start);
}
}  // namespace

RegKey OpenRegistryKey(HKEY root, const std::string& path, bool create) {
  HKEY key = nullptr;
  const std::string relative = Relative(path);
  LONG rc = create ? RegCreateKeyExA(root, relative.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr)
                   : RegOpenKeyExA(root, relative.c_str(), 0, KEY_ALL_ACCESS, &key);
  return RegKey(rc == ERROR_SUCCESS ? key : nullptr);
}

std::string ReadRegistryString(const RegKey& key, const std::string& name) {
  if (!key) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  std::vector<char> buffer(size + 1, '\0');
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return {};
  return std::string(buffer.data());
}

bool WriteRegistryString(const RegKey& key, const std::string& name, const std::string& value) {
  return key && RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(value.c_str()),
                               static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool WriteRegistryDword(const RegKey& key, const std::string& name, DWORD value) {
  return key && RegSetValueExA(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                               sizeof value) == ERROR_SUCCESS;
}

bool ReadRegistryDword(const RegKey& key, const std::string& name, DWORD& value) {
  DWORD type = 0, size = sizeof value;
  return key &&
         RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value;
}

bool DeleteRegistryValue(const RegKey& key, const std::string& name) {
  return key && RegDeleteValueA(key.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
  const std::string relative = Relative(path);
  {
    RegKey key = OpenRegistryKey(root, relative, false);
    if (!key) return false;
    for (;;) {
      char name[256];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      if (!DeleteRegistryTree(root, relative + "\\" + name)) return false;
    }
  }
  return RegDeleteKeyA(root, relative.c_str()) == ERROR_SUCCESS;
}
