// Who may change an installation's folder, as the bytes of a self-relative security
// descriptor (what GetFileSecurity returns and SetFileSecurity takes). Portable: no Win32
// here, so that it builds natively for tests and fuzzing.
#pragma once
#include <string>
#include <string_view>

// What the program files folder gives its programs: Administrators and SYSTEM full control,
// Users read and execute, each inherited by every folder and file below; nothing inherited
// from above (a new folder below C:\ would otherwise let every user change its files).
std::string ProtectedFolderDescriptor();
// Whether users who are not administrators may create, change or delete files in a folder
// with this descriptor: an access-allowed entry for Everyone, Authenticated Users, Users or
// Interactive users that grants writing to the folder itself, or no access list at all.
// Damaged bytes count as writable.
bool DescriptorLetsUsersWrite(std::string_view descriptor);
