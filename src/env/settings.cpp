#include "env/settings.h"

#include "env/profiles.h"

bool SilentMode = false;
std::string AppDir;
bool InstallError = false;
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
  AppDir = GetExeDirectory();
}
