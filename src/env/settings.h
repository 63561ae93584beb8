// Process-wide settings: each is set in one place and read elsewhere.
#pragma once
#include <string>
#include <vector>

extern bool SilentMode;                          // unattended run ("/s" or Shift+Ctrl at start, or "/q")
extern bool QuietMode;                           // "/q": no window at all, every question answered alone
extern std::string AppDir;                       // the executable's directory, ending in "\"
extern bool InstallError;                        // a file finally failed to install
extern bool FileSkipped;                         // the user skipped a file that could not be installed
extern std::string ProgramName;                  // "General"/"Name", default "Programm"
extern std::string ShortcutName;                 // "General"/"Name", default empty
extern std::string DefaultPath;                  // proposed installation directory
extern std::string StartMenuFolder;              // name of the uninstall registration key
extern std::string GroupName;                    // program group folder name
extern std::string InstallDir;                   // the accepted installation directory
extern std::string MainProgramPath;              // installed path of the first program file
extern std::string TargetProfileDir;             // profile chosen by an administrator, else empty
extern std::vector<std::string> CreatedFolders;  // made above InstallDir, the outermost first

// Start-up code of the utility unit: runs before any form exists.
void InitSettings();
