// GetWindowsVersionName and IsWindowsNT on every version Wine reports: a probe program is
// run under a per-program version setting of Wine's.
#include <gtest/gtest.h>
#include <windows.h>

#include "env/handles.h"
#include "env/registry.h"

namespace {
std::string OwnDirectory() {
  char path[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

std::string RunAndRead(const std::string& exe) {
  SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &sa, 0);
  KernelHandle reader(readEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi = {};
  std::string commandLine = "\"" + exe + "\"";
  const BOOL started = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, nullptr, &si, &pi);
  CloseHandle(writeEnd);
  if (!started) return "not started";
  KernelHandle process(pi.hProcess), thread(pi.hThread);
  std::string output;
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(reader.Get(), buffer, sizeof buffer, &got, nullptr) && got) output.append(buffer, got);
  WaitForSingleObject(process.Get(), 10000);
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}
}  // namespace

TEST(WindowsVersion, NameAndFamilyOnEveryReportedVersion) {
  struct Row {
    const char* wineVersion;
    const char* expected;
  };
  const Row rows[] = {
      {"win95", "Windows 95|0"},   {"win98", "Windows 98SE|0"}, {"winme", "Windows ME|0"},
      {"nt40", "Windows NT|1"},    {"win2k", "Windows 2000|1"}, {"winxp", "Windows XP|1"},
      {"win7", "Unknown|1"},       {"win10", "Unknown|1"},
  };
  const std::string probe = OwnDirectory() + "version_probe.exe";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.wineVersion);
    const std::string name = std::string("probe_") + row.wineVersion + ".exe";
    const std::string copy = OwnDirectory() + name;
    ASSERT_TRUE(CopyFileA(probe.c_str(), copy.c_str(), FALSE));
    const std::string key = "Software\\Wine\\AppDefaults\\" + name;
    {
      RegKey settings = OpenRegistryKey(HKEY_CURRENT_USER, key, true);
      ASSERT_TRUE(WriteRegistryString(settings, "Version", row.wineVersion));
    }
    EXPECT_EQ(RunAndRead(copy), row.expected);
    DeleteRegistryTree(HKEY_CURRENT_USER, key);
    DeleteFileA(copy.c_str());
  }
}
