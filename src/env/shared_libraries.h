// The system's register of shared libraries (SharedDLLs): how many installed programs use a
// file in a shared folder, so that the last one to go deletes it and no other.
#pragma once
#include <string>

// Counts one more program using path. A file there (exists) without a count had a user
// already, unknown to us (uncounted is set then), who never lets the count reach 0. False
// when the register cannot be written (the file is then never deleted by us).
bool AddSharedUse(const std::string& path, bool exists, bool& uncounted);
// One program fewer: the programs still using path afterwards (its count goes at 0), or -1
// when the register holds no count for it (then nobody can tell who else uses it).
long ReleaseSharedUse(const std::string& path);
