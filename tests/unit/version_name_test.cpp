#include "env/version_name.h"

#include <gtest/gtest.h>

TEST(VersionName, EveryPlatformAndVersion) {
  struct Row {
    unsigned platform, major, minor;
    const char* servicePack;
    const char* expected;
  };
  const Row rows[] = {
      {1, 4, 0, "", "Windows 95"},
      {1, 4, 0, " C", "Windows 95"},
      {1, 4, 10, " A ", "Windows 98SE"},
      {1, 4, 10, " ", "Windows 98"},
      {1, 4, 10, "", "Windows 98"},
      {1, 4, 10, "A", "Windows 98"},  // the "A" must be the second character
      {1, 4, 90, " ", "Windows ME"},
      {1, 4, 3, "", "Unknown"},
      {1, 5, 0, "", "Unknown"},
      {2, 3, 51, "", "Windows NT"},
      {2, 4, 0, "Service Pack 6", "Windows NT"},
      {2, 5, 0, "", "Windows 2000"},
      {2, 5, 1, "Service Pack 3", "Windows XP"},
      {2, 5, 2, "", "Unknown"},  // Server 2003
      {2, 6, 1, "", "Unknown"},
      {2, 10, 0, "", "Unknown"},
      {0, 3, 10, "", "Unknown"},  // Win32s
      {3, 4, 0, "", "Unknown"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(VersionNameFor(r.platform, r.major, r.minor, r.servicePack), r.expected)
        << r.platform << " " << r.major << "." << r.minor << " '" << r.servicePack << "'";
}

TEST(VersionName, AdviceOnlyForTheThreeNtNames) {
  for (const char* name : {"Windows NT", "Windows 2000", "Windows XP"}) EXPECT_TRUE(IsAdviceVersion(name));
  for (const char* name : {"Windows 95", "Windows 98", "Windows 98SE", "Windows ME", "Unknown", "windows xp"})
    EXPECT_FALSE(IsAdviceVersion(name)) << name;
}
