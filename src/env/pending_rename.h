// Work the system does at the next restart, for a file that is in use now: put a new file in
// its place, or delete it.
#pragma once
#include <string>

// Has the system move source to target at the next restart, replacing it (target empty:
// delete source then). NT family: the pending-rename list (MoveFileExA); Windows 95 to ME:
// the [rename] section of WININIT.INI. False when it cannot be arranged.
bool ReplaceAtRestart(const std::string& source, const std::string& target);

// WININIT.INI's text with line added at the end of its [rename] section (made when missing):
// the lines run in order, and one name may stand left of several ("NUL=" deletes). Portable.
std::string WithRenameLine(const std::string& iniText, const std::string& line);
