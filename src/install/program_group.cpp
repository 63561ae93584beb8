// The end of an installation: program group, shortcuts, uninstall registration, the
// completion message and the offer to start the program.
#include <windows.h>
#include <shlobj.h>

#include "env/administrator.h"
#include "env/system_names.h"
#include "env/folders.h"
#include "env/handles.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/shell_link.h"
#include "env/version_name.h"
#include "env/windows_version.h"
#include "forms/forms.h"
#include "install/install_log.h"
#include "install/install_texts.h"
#include "install/setup_script.h"
#include "install/tf_aktion.h"
#include "install/tf_group.h"
#include "install/tf_more.h"
#include "install/wizard_texts.h"
#include "ui/dialogs.h"
#include "ui/steps.h"

namespace {
constexpr int ShowNormal = 5;

// Logged before it is made, as a file is: the removal takes the shortcuts the log names and
// no other program's. False when the log cannot be written (nothing is made then).
bool Link(const ShortcutItem& item, const std::string& linkFile) {
  if (!LogShortcut(linkFile)) return false;
  CreateShellLink(IncludeBackslash(InstallDir) + item.target, item.name, linkFile, InstallDir, ShowNormal);
  return true;
}

// The uninstall registration belongs under one key of its own; a name that is empty or holds
// a "\" would write into the key of every program's registration or somewhere else.
bool IsOwnKeyName(const std::string& name) {
  return !name.empty() && name.find('\\') == std::string::npos;
}
}  // namespace

// Empty when the chosen profile cannot be logged.
std::string Tf_Aktion::ChooseGroupFolder(const std::string& programs) {
  const std::string own = programs + "\\" + GroupName;
  if (!IsAdministrator()) return own;
  std::vector<std::string> users;
  ListProfileUsers(users);
  if (users.size() < 2) return own;
  auto group = CreateForm<Tf_Group>();
  PlaceBesideSteps(*group, false);
  group->Fill(users, GetLogonUserName());
  if (!SilentMode) group->ShowModal();
  TargetProfileDir = IncludeBackslash(GetProfilesDirectory()) + group->SelectedUser();
  // Logged before the first shortcut goes there, so that the uninstaller looks in this
  // profile even when the run ends half-way through the shortcuts. None goes there unlogged.
  if (!LogUserAccount(TargetProfileDir)) return {};
  return TargetProfileDir + "\\" + "Startmenü\\Programme\\" + GroupName;
}

bool Tf_Aktion::CreateGroupAndShortcuts(const std::string& programs) {
  const std::string groupFolder = ChooseGroupFolder(programs);
  if (groupFolder.empty()) return false;
  CreateDirectoryNamed(groupFolder);
  NotifyFolderChanged(programs);
  const std::vector<ShortcutItem> items = SetupScript().Items();
  for (const ShortcutItem& item : items)
    if (!Link(item, groupFolder + "\\" + item.name + ".LNK")) return false;
  Hide();
  ShowStep(6);
  if (!f_more) return true;
  if (SilentMode) {
    f_more->SetChecked(MoreForm::cbDesktop, true);
    f_more->SetChecked(MoreForm::cbStartmenu, true);
  } else if (f_more->ShowModal() != mrOk) {
    return true;
  }
  if (items.empty()) return true;  // nothing to point an optional shortcut to
  return OptionalLink(MoreForm::cbDesktop, CSIDL_DESKTOP, "Desktop\\", items.front()) &&
         OptionalLink(MoreForm::cbStartmenu, CSIDL_STARTMENU, "Startmenü\\", items.front());
}

// A ticked option's shortcut: in the chosen user's profile folder when a user was chosen,
// else in the current user's special folder, when the shell knows it.
bool Tf_Aktion::OptionalLink(const char* checkBox, int specialFolder, const char* profileFolder,
                             const ShortcutItem& item) {
  if (!f_more->Checked(checkBox)) return true;
  const std::string folder = SpecialFolder(Handle(), specialFolder);
  if (folder.empty()) return true;
  const std::string linkDir = TargetProfileDir.empty()
                                  ? folder + "\\"
                                  : IncludeBackslash(TargetProfileDir) + profileFolder;
  return Link(item, linkDir + item.name + ".LNK");
}

// The uninstaller quoted, so that Windows never tries "C:\Program.exe" for "C:\Program
// Files\...". Beside the name and the command, what deployment tools match and show.
void Tf_Aktion::RegisterUninstall() {
  if (!IsOwnKeyName(StartMenuFolder)) return;
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf(StartMenuFolder), true);
  if (!key) return;
  const std::string uninstaller = "\"" + IncludeBackslash(InstallDir) + "Uninstal.exe\"";
  WriteRegistryString(key, "DisplayName", GroupName + " deinstalieren");
  WriteRegistryString(key, "UninstallString", uninstaller);
  WriteRegistryString(key, "QuietUninstallString", uninstaller + " /q");
  WriteRegistryString(key, "InstallLocation", InstallDir);
  if (!MainProgramPath.empty()) WriteRegistryString(key, "DisplayIcon", MainProgramPath);
  WriteRegistryDword(key, "EstimatedSize", static_cast<DWORD>((installedBytes_ + 1023) / 1024));
  WriteRegistryDword(key, "NoModify", 1);
  WriteRegistryDword(key, "NoRepair", 1);
  const SetupScript script;
  const struct {
    const char *scriptKey, *value;
  } optional[] = {{"Version", "DisplayVersion"}, {"Publisher", "Publisher"}};
  for (const auto& [scriptKey, value] : optional)
    if (const std::string text = script.Value("General", scriptKey, ""); !text.empty())
      WriteRegistryString(key, value, text);
  RecordRun({"registered: HKEY_LOCAL_MACHINE\\", UninstallKeyOf(StartMenuFolder), " ", uninstaller});
}

void Tf_Aktion::Complete() {
  ShowStep(7);
  const std::string directory = Text(AktionForm::edPathName);
  if (InstallError) {
    Ask(InstallFailedText(directory), DlgType::Information, mbOK, mrOk);
    return;
  }
  if (SilentMode) return;
  const bool ntAdministrator = IsAdviceVersion(GetWindowsVersionName()) && IsAdministrator();
  if (Ask(InstallDoneText(directory, ntAdministrator), DlgType::Information, mbYes | mbNo, mrNo) != mrYes)
    return;
  OpenWithShell(Handle(), MainProgramPath, ExtractFilePath(MainProgramPath), ShowNormal);
}

bool Tf_Aktion::CreateProgmanGroup() {
  if (!GroupName.empty()) {
    const std::string programs = SpecialFolder(Handle(), CSIDL_PROGRAMS);
    if (!programs.empty() && !CreateGroupAndShortcuts(programs)) return false;
    RegisterUninstall();
    Complete();
  }
  if (SilentMode && !QuietMode) MessageBeep(0xFFFF);
  return true;
}
