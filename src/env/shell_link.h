// Shortcuts (.LNK files) made through the shell's link object.
#pragma once
#include <string>

// Writes linkFile pointing to target; false when it could not be made (its folder missing,
// the shell's link object unavailable, a name the system cannot hold).
bool CreateShellLink(const std::string& target, const std::string& description, const std::string& linkFile,
                     const std::string& workingDir, int showCmd);
