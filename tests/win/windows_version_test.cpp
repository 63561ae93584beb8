// GetWindowsVersionName and IsWindowsNT on every version Wine reports: a probe program is
// run under a per-program version setting of Wine's.
#include <gtest/gtest.h>

#include <windows.h>

#include "env/system_names.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tools/driver/driver.h"

namespace {
// The probe writes what it sees into the file named by its argument.
std::string RunAndRead(const std::string& exe) {
  const std::string result = exe + ".txt";
  DeleteFileNamed(result);
  DWORD code = 0;
  if (!WaitForExit(StartProgram(exe, "\"" + result + "\""), 20000, code)) return "did not end";
  const std::string text = FileText(result);
  DeleteFileNamed(result);
  return text.substr(0, text.find('\n'));
}
}  // namespace

TEST(WindowsVersion, NameAndFamilyOnEveryReportedVersion) {
  struct Row {
    const char* wineVersion;
    const char* expected;
  };
  const Row rows[] = {
      {"win95", "Windows 95|0"},   {"win98", "Windows 98SE|0"}, {"winme", "Windows ME|0"}, {"nt40", "Windows NT|1"},
      {"win2k", "Windows 2000|1"}, {"winxp", "Windows XP|1"},   {"win7", "Unknown|1"},     {"win10", "Unknown|1"},
  };
  const std::string probe = GetExeDirectory() + "version_probe.exe";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.wineVersion);
    const std::string name = std::string("probe_") + row.wineVersion + ".exe";
    const std::string copy = GetExeDirectory() + name;
    ASSERT_TRUE(CopyFileNamed(probe, copy, FALSE));
    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    {
      RegKey settings = OpenRegistryKey(HKEY_CURRENT_USER, key, true);
      ASSERT_TRUE(WriteRegistryString(settings, "Version", row.wineVersion));
    }
    EXPECT_EQ(RunAndRead(copy), row.expected);
    DeleteRegistryTree(HKEY_CURRENT_USER, key);
    DeleteFileNamed(copy);
  }
}
