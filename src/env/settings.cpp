#include "env/settings.h"

#include "env/profiles.h"

bool SilentMode = false;
bool QuietMode = false;
std::string AppDir;
bool InstallError = false;
bool FileSkipped = false;
std::string ProgramName;
std::string ShortcutName;
std::string DefaultPath;
std::string StartMenuFolder;
std::string GroupName;
std::string InstallDir;
std::string MainProgramPath;
std::string TargetProfileDir;
std::vector<std::string> CreatedFolders;

void InitSettings() {
  InstallError = false;
  FileSkipped = false;
  AppDir = GetExeDirectory();
}
