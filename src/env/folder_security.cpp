#include "env/folder_security.h"

#include <cstdint>
#include <cstring>

namespace {
// SIDs as bytes: revision 1, the number of sub-authorities, the authority (6 bytes, big
// endian), each sub-authority as 4 little-endian bytes.
constexpr unsigned char Everyone[] = {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0};
constexpr unsigned char Interactive[] = {1, 1, 0, 0, 0, 0, 0, 5, 4, 0, 0, 0};
constexpr unsigned char AuthenticatedUsers[] = {1, 1, 0, 0, 0, 0, 0, 5, 11, 0, 0, 0};
constexpr unsigned char Users[] = {1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x21, 2, 0, 0};

// The descriptor, self-relative: its header (revision 1; the access list present, protected;
// no owner, group or audit list; the access list at 20), the list's header (revision 2, 76
// bytes, 3 entries), then each entry (allowed, inherited by files and folders, its size, its
// access mask, its SID).
constexpr unsigned char Protected[] = {
    1,    0, 0x04, 0x90, 0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 20, 0, 0, 0,  //
    2,    0, 76,   0,    3,    0,    0,    0,                                       //
    0,    3, 24,   0,    0xFF, 0x01, 0x1F, 0, 1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0,
    0x20, 2, 0,    0,                                                               // Administrators: full control
    0,    3, 20,   0,    0xFF, 0x01, 0x1F, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0,  // SYSTEM: full control
    0,    3, 24,   0,    0xA9, 0,    0x12, 0, 1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0,
    0x21, 2, 0,    0,  // Users: read and execute
};

unsigned Get16(std::string_view bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}
uint32_t Get32(std::string_view bytes, size_t at) {
  return Get16(bytes, at) | static_cast<uint32_t>(Get16(bytes, at + 2)) << 16;
}

constexpr unsigned char AccessAllowed = 0, InheritOnly = 0x08;
// Creating files or folders, deleting what is inside, or taking the folder over.
constexpr uint32_t WritingAccess = 0x0002 | 0x0004 | 0x0040 | 0x10000 | 0x40000 | 0x80000 | 0x10000000 | 0x40000000;
constexpr unsigned SelfRelative = 0x8000, DaclPresent = 0x0004;
constexpr size_t HeaderSize = 20, AclHeaderSize = 8, AceHeaderSize = 8;

bool IsUsersGroup(std::string_view sid) {
  for (const auto* group : {Everyone, AuthenticatedUsers, Interactive}) {
    if (sid.size() >= sizeof Everyone && std::memcmp(sid.data(), group, sizeof Everyone) == 0) return true;
  }
  return sid.size() >= sizeof Users && std::memcmp(sid.data(), Users, sizeof Users) == 0;
}
}  // namespace

std::string ProtectedFolderDescriptor() {
  return std::string(reinterpret_cast<const char*>(Protected), sizeof Protected);
}

bool DescriptorLetsUsersWrite(std::string_view descriptor) {
  if (descriptor.size() < HeaderSize || !(Get16(descriptor, 2) & SelfRelative)) return true;
  if (!(Get16(descriptor, 2) & DaclPresent)) return true;  // no list: everyone may do anything
  const uint32_t acl = Get32(descriptor, 16);
  if (acl == 0) return true;  // a null list likewise
  if (acl > descriptor.size() || descriptor.size() - acl < AclHeaderSize) return true;
  const std::string_view list = descriptor.substr(acl, Get16(descriptor, acl + 2));
  if (list.size() < AclHeaderSize) return true;
  size_t at = AclHeaderSize;
  for (unsigned count = Get16(list, 4); count > 0; --count) {
    if (list.size() - at < AceHeaderSize) return true;
    const unsigned size = Get16(list, at + 2);
    if (size < AceHeaderSize || size > list.size() - at) return true;
    const unsigned char type = static_cast<unsigned char>(list[at]), flags = static_cast<unsigned char>(list[at + 1]);
    if (type == AccessAllowed && !(flags & InheritOnly) && (Get32(list, at + 4) & WritingAccess) &&
        IsUsersGroup(list.substr(at + AceHeaderSize, size - AceHeaderSize)))
      return true;
    at += size;
  }
  return false;
}
