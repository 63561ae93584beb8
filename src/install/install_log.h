// The install log (InstallLogName): what an installation created, for the uninstaller.
// Written only here; its file list read here too (its names: env/install_names.h).
#pragma once
#include <string>
#include <vector>

// Where the installation writes it: the installation directory's log, upper-cased.
std::string InstallLogPath();
// The entry for one file that reached the end of the copy step: the program's name with the
// first one, then the file under "File" + number, the group and the registration key.
// False when a value cannot be written.
bool LogInstalledFile(unsigned number, const std::string& targetPath);
// The user profile chosen for the shortcuts, at the end of the installation. False when it
// cannot be written.
bool LogUserAccount(const std::string& profileDir);

// Every "File" + number entry of the log at path, in numeric order, gaps and all.
std::vector<std::string> ReadInstalledFiles(const std::string& logPath);
// The folders the log says the installation made above its directory, in the log's order.
std::vector<std::string> ReadCreatedFolders(const std::string& logPath);
