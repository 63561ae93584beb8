#include "env/shared_libraries.h"

#include "env/registry.h"
#include "env/removal_rules.h"

namespace {
constexpr char SharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
}  // namespace

bool AddSharedUse(const std::string& path, bool exists, bool& uncounted) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedKey, true);
  DWORD count = 0;
  const bool present = ReadRegistryDword(key, path, count);
  uncounted = exists && !present;
  return WriteRegistryDword(key, path, SharedUsesAfterInstall(present, count, uncounted));
}

long ReleaseSharedUse(const std::string& path) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedKey, false);
  DWORD count = 0;
  if (!ReadRegistryDword(key, path, count)) return -1;
  if (count > 1) return WriteRegistryDword(key, path, count - 1) ? static_cast<long>(count - 1) : -1;
  DeleteRegistryValue(key, path);
  return 0;
}
