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
#include "env/removal_rules.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/shell_link.h"
#include "env/version_name.h"
#include "env/windows_version.h"
#include "forms/forms.h"
#include "install/install_log.h"
#include "install/install_texts.h"
#include "install/setup_script.h"
#include "install/shortcut_folders.h"
#include "install/tf_aktion.h"
#include "install/tf_group.h"
#include "install/tf_more.h"
#include "install/user_choice.h"
#include "install/wizard_texts.h"
#include "ui/dialogs.h"
#include "ui/steps.h"

namespace {
constexpr int ShowNormal = 5;
}  // namespace

// Logged before it is made, as a file is: the removal takes the shortcuts the log names and
// no other program's. False when the log cannot be written (nothing is made then). One that
// cannot be made is remembered, for the record and the warning at the end.
bool Tf_Aktion::Link(const ShortcutItem& item, const std::string& folder, const char* folderName) {
  const std::string linkFile = (folder.empty() ? std::string(folderName) : folder) + "\\" + item.name + ".LNK";
  if (folder.empty()) {
    missingLinks_.push_back(linkFile);
    return true;
  }
  if (!LogShortcut(linkFile)) return false;
  if (!CreateShellLink(IncludeBackslash(InstallDir) + item.target, item.name, linkFile, InstallDir, ShowNormal))
    missingLinks_.push_back(linkFile);
  return true;
}

// False when the chosen profile cannot be logged.
bool Tf_Aktion::ChooseProfile() {
  if (!IsAdministrator()) return true;
  std::vector<std::string> users;
  ListProfileUsers(users);
  const std::string common = ExtractFileName(CommonProfileDir());
  DropSecondAllUsers(users, common);
  if (users.size() < 2) return true;
  auto group = CreateForm<Tf_Group>();
  PlaceBesideSteps(*group, false);
  group->Fill(users, GetLogonUserName(), common);
  if (!SilentMode) group->ShowModal();
  TargetProfileDir = IncludeBackslash(GetProfilesDirectory()) + group->SelectedUser();
  // Logged before the first shortcut goes there, so that the uninstaller looks in this
  // profile even when the run ends half-way through the shortcuts. None goes there unlogged.
  return LogUserAccount(TargetProfileDir);
}

bool Tf_Aktion::CreateGroupAndShortcuts() {
  if (!ChooseProfile()) return false;
  // Where the chosen user's Windows keeps them, whatever its version and language.
  const ShortcutFolders folders = ShortcutFoldersOf(TargetProfileDir);
  const std::string groupFolder = folders.programs.empty() ? "" : IncludeBackslash(folders.programs) + GroupName;
  if (!groupFolder.empty()) {
    CreateDirectoryNamed(groupFolder);
    NotifyFolderChanged(folders.programs);
  }
  const std::vector<ShortcutItem> items = SetupScript().Items();
  for (const ShortcutItem& item : items)
    if (!Link(item, groupFolder, GroupName.c_str())) return false;
  Hide();
  ShowStep(6);
  if (!f_more) return true;
  // Quiet, the options are passed over: a rollout leaves no desktop or Start menu shortcut
  // on every machine. /s ticks both, as a person who wants them would.
  if (QuietMode) return true;
  if (SilentMode) {
    f_more->SetChecked(MoreForm::cbDesktop, true);
    f_more->SetChecked(MoreForm::cbStartmenu, true);
  } else if (f_more->ShowModal() != mrOk) {
    return true;
  }
  if (items.empty()) return true;  // nothing to point an optional shortcut to
  return (!f_more->Checked(MoreForm::cbDesktop) || Link(items.front(), folders.desktop, "Desktop")) &&
         (!f_more->Checked(MoreForm::cbStartmenu) || Link(items.front(), folders.startMenu, "Startmenü"));
}

// Each one named in the record and by the exit status; attended a warning names them all.
void Tf_Aktion::ReportMissingLinks() {
  if (missingLinks_.empty()) return;
  for (const std::string& link : missingLinks_) RecordRun({"shortcut not made: ", link});
  if (!SilentMode) Ask(ShortcutsMissingText(missingLinks_), DlgType::Warning, mbOK, mrOk);
}

// The uninstaller quoted, so that Windows never tries "C:\Program.exe" for "C:\Program
// Files\...". Beside the name and the command, what deployment tools match and show.
void Tf_Aktion::RegisterUninstall() {
  // Under one key of its own: a name that is empty or holds a "\" would write into the key of
  // every program's registration or somewhere else. (The start refuses such a script.)
  if (!IsRegistryKeyName(StartMenuFolder)) return;
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
  if (Ask(InstallDoneText(directory, ntAdministrator), DlgType::Information, mbYes | mbNo, mrNo) != mrYes) return;
  OpenWithShell(Handle(), MainProgramPath, ExtractFilePath(MainProgramPath), ShowNormal);
}

bool Tf_Aktion::CreateProgmanGroup() {
  if (!GroupName.empty()) {
    if (!CreateGroupAndShortcuts()) return false;
    ReportMissingLinks();
    RegisterUninstall();
    Complete();
  }
  if (SilentMode && !QuietMode) MessageBeep(0xFFFF);
  return true;
}
