// Shortcuts (.LNK files) made through the shell's link object.
#pragma once
#include <string>

// Writes linkFile pointing to target. Failures are silent: the caller learns nothing.
void CreateShellLink(const std::string& target, const std::string& description,
                     const std::string& linkFile, const std::string& workingDir, int showCmd);
