#include "install/upgrade_rules.h"

#include <algorithm>

#include "env/paths.h"

namespace {
// The number at the start of part k of a version text ("2.10b": part 1 is 10).
unsigned long Part(const std::string& version, size_t k) {
  size_t at = 0;
  for (size_t skipped = 0; skipped < k; ++skipped) {
    at = version.find('.', at);
    if (at == std::string::npos) return 0;
    ++at;
  }
  unsigned long number = 0;
  for (; at < version.size() && version[at] >= '0' && version[at] <= '9'; ++at)
    number = number > 400000000 ? number : number * 10 + static_cast<unsigned long>(version[at] - '0');
  return number;
}

size_t PartCount(const std::string& version) {
  size_t parts = 1;
  for (const char c : version) parts += c == '.';
  return parts;
}
}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
  const size_t parts = std::max(PartCount(a), PartCount(b));
  for (size_t k = 0; k < parts; ++k) {
    const unsigned long x = Part(a, k), y = Part(b, k);
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::string FileStateText(unsigned long long size, const std::string& sha256Hex) {
  return DecimalText(size) + "," + sha256Hex;
}
