#include "env/registry.h"

#include <vector>

#include "env/system_names.h"

namespace {
// Paths are written absolute ("\Software\..."); the registry functions want them relative.
std::string Relative(const std::string& path) {
  size_t start = path.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : path.substr(start);
}
}  // namespace

namespace {
// Names of keys and values, and texts, in the system's form (SystemName): a name the 95
// family cannot hold whole names no key there.
LONG QueryValue(const RegKey& key, const std::string& name, DWORD& type, void* data, DWORD& size) {
  const SystemName n(name);
  if (!n.whole) return ERROR_FILE_NOT_FOUND;
  return WideSystem() ? RegQueryValueExW(key.Get(), n.wide.c_str(), nullptr, &type, static_cast<BYTE*>(data), &size)
                      : RegQueryValueExA(key.Get(), n.ansi.c_str(), nullptr, &type, static_cast<BYTE*>(data), &size);
}

LONG SetValue(const RegKey& key, const std::string& name, DWORD type, const void* data, DWORD size) {
  const SystemName n(name);
  if (!n.whole) return ERROR_INVALID_NAME;
  const auto* bytes = static_cast<const BYTE*>(data);
  return WideSystem() ? RegSetValueExW(key.Get(), n.wide.c_str(), 0, type, bytes, size)
                      : RegSetValueExA(key.Get(), n.ansi.c_str(), 0, type, bytes, size);
}
}  // namespace

RegKey OpenRegistryKey(HKEY root, const std::string& path, bool create) {
  HKEY key = nullptr;
  const SystemName relative(Relative(path));
  if (!relative.whole) return RegKey();
  LONG rc = 0;
  if (WideSystem())
    rc = create ? RegCreateKeyExW(root, relative.wide.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr)
                : RegOpenKeyExW(root, relative.wide.c_str(), 0, KEY_ALL_ACCESS, &key);
  else
    rc = create ? RegCreateKeyExA(root, relative.ansi.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr)
                : RegOpenKeyExA(root, relative.ansi.c_str(), 0, KEY_ALL_ACCESS, &key);
  return RegKey(rc == ERROR_SUCCESS ? key : nullptr);
}

std::string ReadRegistryString(const RegKey& key, const std::string& name) {
  if (!key) return {};
  DWORD type = 0, size = 0;
  if (QueryValue(key, name, type, nullptr, size) != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return {};
  // Room for a terminating zero that a value written without one lacks.
  std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
  if (QueryValue(key, name, type, buffer.data(), size) != ERROR_SUCCESS) return {};
  if (WideSystem()) return FromWide(buffer.data());
  return FromSystemCodePage(reinterpret_cast<const char*>(buffer.data()));
}

bool WriteRegistryString(const RegKey& key, const std::string& name, const std::string& value) {
  if (!key) return false;
  const SystemName text(value);
  if (!text.whole) return false;
  if (WideSystem())
    return SetValue(key, name, REG_SZ, text.wide.c_str(),
                    static_cast<DWORD>((text.wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  return SetValue(key, name, REG_SZ, text.ansi.c_str(), static_cast<DWORD>(text.ansi.size() + 1)) == ERROR_SUCCESS;
}

bool WriteRegistryDword(const RegKey& key, const std::string& name, DWORD value) {
  return key && SetValue(key, name, REG_DWORD, &value, sizeof value) == ERROR_SUCCESS;
}

bool ReadRegistryDword(const RegKey& key, const std::string& name, DWORD& value) {
  DWORD type = 0, size = sizeof value;
  return key && QueryValue(key, name, type, &value, size) == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value;
}

bool DeleteRegistryValue(const RegKey& key, const std::string& name) {
  const SystemName n(name);
  if (!key || !n.whole) return false;
  return (WideSystem() ? RegDeleteValueW(key.Get(), n.wide.c_str()) : RegDeleteValueA(key.Get(), n.ansi.c_str())) ==
         ERROR_SUCCESS;
}

std::string RegistrySubkeyName(const RegKey& key, DWORD index) {
  if (!key) return {};
  if (WideSystem()) {
    wchar_t name[256];
    DWORD length = 256;
    return RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS
               ? FromWide(name, length)
               : std::string();
  }
  char name[256];
  DWORD length = sizeof name;
  return RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS
             ? FromSystemCodePage(name)
             : std::string();
}

bool DeleteRegistryTree(HKEY root, const std::string& path) {
  const std::string relative = Relative(path);
  {
    RegKey key = OpenRegistryKey(root, relative, false);
    if (!key) return false;
    for (std::string name; !(name = RegistrySubkeyName(key, 0)).empty();)
      if (!DeleteRegistryTree(root, relative + "\\" + name)) return false;
  }
  const SystemName n(relative);
  if (!n.whole) return false;
  return (WideSystem() ? RegDeleteKeyW(root, n.wide.c_str()) : RegDeleteKeyA(root, n.ansi.c_str())) == ERROR_SUCCESS;
}
