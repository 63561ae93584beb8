#include "env/profiles.h"

#include <gtest/gtest.h>

#include "env/registry.h"
#include "env/windows_version.h"

namespace {
const char* ProfileListKey() {
  return IsWindowsNT() ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"
                       : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList";
}

// Puts a value into ProfileList for one test and restores the prefix's own afterwards.
class ProfileListValue {
 public:
  ProfileListValue() : key_(OpenRegistryKey(HKEY_LOCAL_MACHINE, ProfileListKey(), true)) {
    saved_ = ReadRegistryString(key_, "ProfilesDirectory");
  }
  ~ProfileListValue() { WriteRegistryString(key_, "ProfilesDirectory", saved_); }
  void Set(const std::string& value) { WriteRegistryString(key_, "ProfilesDirectory", value); }
  void Remove() { RegDeleteValueA(key_.Get(), "ProfilesDirectory"); }

 private:
  RegKey key_;
  std::string saved_;
};
}  // namespace

TEST(GetProfilesDirectory, ReadsTheStoredValueAndReplacesTheSystemDrive) {
  ProfileListValue value;
  const std::string drive = GetWindowsDir().substr(0, 2);
  struct Row {
    std::string stored, expected;
  };
  const Row rows[] = {
      {"%SystemDrive%\\Documents and Settings", drive + "\\Documents and Settings"},
      {"%systemdrive%\\Documents and Settings", "%systemdrive%\\Documents and Settings"},
      {"E:\\Profile", "E:\\Profile"},
      {"  E:\\Profile ", "  E:\\Profile "},  // returned as stored, not trimmed
      {"", "C:\\Dokumente und Einstellungen"},
      {" \t ", "C:\\Dokumente und Einstellungen"},
  };
  for (const Row& row : rows) {
    value.Set(row.stored);
    EXPECT_EQ(GetProfilesDirectory(), row.expected) << "'" << row.stored << "'";
  }
  value.Remove();
  EXPECT_EQ(GetProfilesDirectory(), "C:\\Dokumente und Einstellungen");
}

TEST(GetProfilesDirectory, TheSystemDriveComesFromTheWindowsDirectory) {
  EXPECT_EQ(ProfilesDirectoryFromValue("%SystemDrive%\\Documents and Settings", "D:\\WINDOWS"), "D:\\Documents and Settings");
  EXPECT_EQ(ProfilesDirectoryFromValue("%SystemDrive%%SystemDrive%", "D:\\WINDOWS"), "D:D:");
  // No key, or no right to open it, gives an empty value and so the fixed fallback.
  EXPECT_EQ(ProfilesDirectoryFromValue("", "D:\\WINDOWS"), "C:\\Dokumente und Einstellungen");
}
