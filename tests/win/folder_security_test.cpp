// The permissions an administrator's installation gives its new folders, and the test of a
// folder's permissions for users who may write there, against the system's own reading of
// security descriptors (written here in its descriptor language).
#include "env/folder_security.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

namespace {
std::string Bytes(const char* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ULONG size = 0;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, &size)) return "?";
  std::string bytes(static_cast<const char*>(descriptor), size);
  LocalFree(descriptor);
  return bytes;
}
}  // namespace

TEST(FolderSecurity, TheProtectionOfTheProgramFilesFolder) {
  std::string ours = ProtectedFolderDescriptor();
  char* text = nullptr;
  ASSERT_TRUE(
      ConvertSecurityDescriptorToStringSecurityDescriptorA(ours.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr));
  EXPECT_STREQ(text, "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)");
  LocalFree(text);
  EXPECT_FALSE(DescriptorLetsUsersWrite(ours));
}

TEST(FolderSecurity, WhoMayWriteToAFolder) {
  const std::string admins = Bytes("D:(A;;FA;;;BA)");
  const struct {
    const char* what;
    std::string descriptor;
    bool writable;
  } rows[] = {
      // What a new folder below C:\ inherits on Windows Vista to 11.
      {"below C:\\", Bytes("D:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1200a9;;;BU)(A;ID;0x1301bf;;;AU)(A;OICIIOID;GA;;;CO)"), true},
      {"Program Files", Bytes("D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;GA;;;CO)"), false},
      {"Everyone full control", Bytes("D:(A;OICI;FA;;;WD)"), true},
      {"add files", Bytes("D:(A;;0x2;;;BU)"), true},
      {"add folders", Bytes("D:(A;;0x4;;;BU)"), true},
      {"change permissions", Bytes("D:(A;;WD;;;IU)"), true},
      {"Everyone GENERIC_WRITE", Bytes("D:(A;;GW;;;WD)"), true},
      {"a denial", Bytes("D:(D;;FA;;;BU)"), false},
      {"only for what lies below", Bytes("D:(A;OICIIO;FA;;;BU)"), false},
      {"one user of a domain", Bytes("D:(A;OICI;FA;;;S-1-5-21-1-2-3-1001)"), false},
      {"SYSTEM alone", Bytes("D:(A;OICI;FA;;;SY)"), false},
      {"no access list", Bytes("O:BA"), true},
      {"a null access list", std::string{1, 0, 4, '\x80'} + std::string(16, '\0'), true},
      {"an empty access list", Bytes("D:"), false},
      {"cut short", admins.substr(0, admins.size() - 4), true},
      {"an entry longer than the list", std::string(admins).replace(static_cast<unsigned char>(admins[16]) + 10, 1, "\xff"), true},
      {"nothing", "", true},
  };
  for (const auto& row : rows) EXPECT_EQ(DescriptorLetsUsersWrite(row.descriptor), row.writable) << row.what;
}
