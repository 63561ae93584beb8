// The permissions an administrator's installation gives its new folders, and the test of a
// folder's permissions for users who may write there, on the bytes Windows uses.
#include "env/folder_security.h"

#include <gtest/gtest.h>

namespace {
// A self-relative descriptor with one access list, each entry {type, flags, mask, SID bytes}.
struct Ace {
  unsigned char type, flags;
  uint32_t mask;
  std::string sid;
};
std::string Le(uint32_t value, int bytes) {
  std::string out;
  for (int k = 0; k < bytes; ++k) out += static_cast<char>(value >> (8 * k));
  return out;
}
std::string Descriptor(const std::vector<Ace>& aces, unsigned control = 0x8004) {
  std::string list;
  for (const Ace& ace : aces)
    list += std::string{static_cast<char>(ace.type), static_cast<char>(ace.flags)} + Le(8 + ace.sid.size(), 2) +
            Le(ace.mask, 4) + ace.sid;
  return std::string{1, 0} + Le(control, 2) + Le(0, 4) + Le(0, 4) + Le(0, 4) + Le(20, 4) + std::string{2, 0} +
         Le(8 + list.size(), 2) + Le(aces.size(), 2) + Le(0, 2) + list;
}
std::string NtSid(std::vector<uint32_t> subs, unsigned char authority = 5) {
  std::string sid = {1, static_cast<char>(subs.size()), 0, 0, 0, 0, 0, static_cast<char>(authority)};
  for (uint32_t sub : subs) sid += Le(sub, 4);
  return sid;
}
const std::string Everyone = NtSid({0}, 1), AuthUsers = NtSid({11}), Users = NtSid({32, 545}),
                  Admins = NtSid({32, 544}), System = NtSid({18}), Someone = NtSid({21, 1, 2, 3, 1001});
constexpr unsigned char OICI = 0x03, InheritOnly = 0x08, Inherited = 0x10;
constexpr uint32_t Full = 0x1F01FF, Modify = 0x1301BF, ReadExecute = 0x1200A9;
}  // namespace

TEST(FolderSecurity, TheProtectionOfTheProgramFilesFolder) {
  // Administrators and SYSTEM full control, Users read and execute, for everything below;
  // protected from what the folders above would hand down.
  EXPECT_EQ(ProtectedFolderDescriptor(),
            Descriptor({{0, OICI, Full, Admins}, {0, OICI, Full, System}, {0, OICI, ReadExecute, Users}}, 0x9004));
  EXPECT_FALSE(DescriptorLetsUsersWrite(ProtectedFolderDescriptor()));
}

TEST(FolderSecurity, WhoMayWriteToAFolder) {
  const struct {
    const char* what;
    std::string descriptor;
    bool writable;
  } rows[] = {
      // What a new folder below C:\ inherits on Windows Vista to 11.
      {"below C:\\", Descriptor({{0, Inherited, Full, Admins}, {0, Inherited, Full, System},
                                {0, Inherited, ReadExecute, Users}, {0, Inherited, Modify, AuthUsers},
                                {0, OICI | InheritOnly | Inherited, 0x10000000, NtSid({0}, 3)}}),
       true},
      {"Program Files", Descriptor({{0, OICI, Full, Admins}, {0, OICI, Full, System}, {0, OICI, ReadExecute, Users}}),
       false},
      {"Everyone full control", Descriptor({{0, OICI, Full, Everyone}}), true},
      {"Users may add files", Descriptor({{0, 0, 0x0002, Users}}), true},
      {"Users may add folders", Descriptor({{0, 0, 0x0004, Users}}), true},
      {"Interactive may change permissions", Descriptor({{0, 0, 0x40000, NtSid({4})}}), true},
      {"Everyone GENERIC_WRITE", Descriptor({{0, 0, 0x40000000, Everyone}}), true},
      {"only for what lies below", Descriptor({{0, OICI | InheritOnly, Full, Users}}), false},
      {"a denial", Descriptor({{1, 0, Full, Users}}), false},
      {"one user of a domain", Descriptor({{0, OICI, Full, Someone}}), false},
      {"the owner alone", Descriptor({{0, OICI, Full, System}}), false},
      {"no access list", Descriptor({}, 0x8000).substr(0, 20), true},
      {"a null access list", std::string{1, 0, 4, static_cast<char>(0x80)} + std::string(16, '\0'), true},
      {"an empty access list", Descriptor({}), false},
      {"cut short", Descriptor({{0, OICI, Full, Admins}}).substr(0, 36), true},
      {"an entry longer than the list", Descriptor({{0, 0, Full, Admins}}).replace(30, 2, "\xff\x00", 2), true},
      {"nothing", "", true},
  };
  for (const auto& row : rows) EXPECT_EQ(DescriptorLetsUsersWrite(row.descriptor), row.writable) << row.what;
}
