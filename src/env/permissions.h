// The permissions of the folders an administrator's installation makes or uses. Only the NT
// family has them; on Windows 95, 98 and ME every user may change every file.
#pragma once
#include <string>

// Gives dir the protection of the program files folder (folder_security.h); false where it
// cannot (the 95 family, a file system without permissions).
bool ProtectFolder(const std::string& dir);
// Whether users who are not administrators may change the files in dir; false on the 95
// family, where nobody can be kept out, and when the permissions cannot be read.
bool UsersCanWrite(const std::string& dir);
