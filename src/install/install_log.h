// The install log (InstallLogName): what an installation created, for the uninstaller.
// Written only here; its file list read here too (its names: env/install_names.h).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "install/log_lines.h"

// Where the installation writes it: the installation directory's log, upper-cased.
std::string InstallLogPath();
// The entry for one file that reached the end of the copy step: the program's name with the
// first one, then the file under "File" + number with its origin (removal_rules.h), the
// group and the registration key. False when a value cannot be written.
bool LogInstalledFile(unsigned number, const std::string& targetPath, const std::string& origin = {});
// What the log holds is on the disk, not only in the system's cache: a file takes the name a
// log line gives it only after this. False when the system cannot say so.
bool FlushLog();
// The user profile chosen for the shortcuts, at the end of the installation. False when it
// cannot be written.
bool LogUserAccount(const std::string& profileDir);
// A shortcut about to be made (once, however often it is made again). False when it cannot
// be written.
bool LogShortcut(const std::string& linkFile);
// The shortcuts the log names.
std::vector<std::string> ReadShortcuts(const std::string& logPath);

// Writes the installation's log whole in place of the one there (a new file moved over it,
// so that a run killed meanwhile leaves the one or the other): files numbered from 1 with
// their states, the program's name, group and folders from the settings, any other section
// of the log kept. Later entries continue it, numbered from files.size() + 1. False when it
// cannot be written.
bool RewriteLog(const std::vector<LoggedFile>& files);
// Puts back the log a failed run found (its bytes), or deletes it when there was none.
bool RestoreLog(const std::optional<std::string>& earlier);
// A file's state as the log records it ("size,sha256"); empty when it cannot be read.
std::string FileState(const std::string& path);
// The log's file entries in numeric order with their states and origins.
std::vector<LoggedFile> ReadLoggedFiles(const std::string& logPath);

// The folders the log says the installation made above its directory, in the log's order.
std::vector<std::string> ReadCreatedFolders(const std::string& logPath);
// The values of a section, in the log's order.
std::vector<std::string> ReadSectionValues(const std::string& logPath, const char* section);
