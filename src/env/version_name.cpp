#include "env/version_name.h"

namespace {
constexpr unsigned Windows9xPlatform = 1;
constexpr unsigned NtPlatform = 2;

std::string Windows9xName(unsigned major, unsigned minor, const std::string& servicePack) {
  if (major != 4) return "Unknown";
  if (minor == 0) return "Windows 95";
  if (minor == 10) return servicePack.size() >= 2 && servicePack[1] == 'A' ? "Windows 98SE" : "Windows 98";
  if (minor == 90) return "Windows ME";
  return "Unknown";
}

std::string NtName(unsigned major, unsigned minor) {
  if (major <= 4) return "Windows NT";
  if (major == 5 && minor == 0) return "Windows 2000";
  if (major == 5 && minor == 1) return "Windows XP";
  return "Unknown";
}
}  // namespace

std::string VersionNameFor(unsigned platformId, unsigned major, unsigned minor, const std::string& servicePack) {
  if (platformId == Windows9xPlatform) return Windows9xName(major, minor, servicePack);
  if (platformId == NtPlatform) return NtName(major, minor);
  return "Unknown";
}

bool IsAdviceVersion(const std::string& versionName) {
  return versionName == "Windows NT" || versionName == "Windows XP" || versionName == "Windows 2000";
}
