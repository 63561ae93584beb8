#include "env/settings.h"

#include "env/profiles.h"

bool SilentMode = false;
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

void InitSettings() {
  InstallError = false;
  FileSkipped = false;
  AppDir = GetExeDirectory();
}
