// Work the system does at the next restart, for a file that is in use now: put a new file in
// its place, or delete it.
#pragma once
#include <string>

// Has the system move source to target at the next restart, replacing it (target empty:
// delete source then). NT family: the pending-rename list (MoveFileExA); Windows 95 to ME:
// the [rename] section of WININIT.INI. False when it cannot be arranged.
bool ReplaceAtRestart(const std::string& source, const std::string& target);

#ifdef _WIN32
// An error that says a file is held by another program (or runs as one).
bool IsInUseError(unsigned long error);
#endif

// WININIT.INI's text with line added to its [rename] section (made when missing), where one
// name may stand left of several ("NUL=" deletes): not through the profile functions, which
// would replace a line of the same name. Portable.
std::string WithRenameLine(const std::string& iniText, const std::string& line);
