#include "uninstall/tf_uninstal.h"
#include "env/system_names.h"

#include <windows.h>
#include <shlobj.h>

#include "env/deletion.h"
#include "env/exit_codes.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/handles.h"
#include "env/ini_file.h"
#include "env/install_names.h"
#include "env/library_error.h"
#include "env/paths.h"
#include "env/pending_rename.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/shared_libraries.h"
#include "env/text_file.h"
#include "env/wait.h"
#include "forms/forms.h"
#include "install/file_journal.h"
#include "install/install_log.h"
#include "install/shortcut_folders.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/steps.h"
#include "env/removal_rules.h"
#include "transfer/work_folder.h"
#include "uninstall/tf_ask.h"
#include "uninstall/tf_progress.h"
#include "uninstall/uninstall_files.h"

using namespace UninstalForm;

Tf_Uninstal* f_Uninstal = nullptr;

namespace {

// A file that cannot be deleted now although nothing forbids it: held open, or a running
// program's (a read-only file is refused too, and stays).
bool InUse(const std::string& file) {
  const DWORD error = GetLastError();
  const DWORD attributes = FileAttributes(file);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return IsInUseError(error);
}

std::string WithoutLastCharacter(const std::string& text) {
  return text.empty() ? text : text.substr(0, text.size() - 1);
}
}  // namespace

Tf_Uninstal::Tf_Uninstal() : Form(UninstalFormDesc) { f_Uninstal = this; }

void Tf_Uninstal::FormCreate() {
  OnClick(Button1, [this] { Button1Click(); });
  OnClick(Button2, [this] { Button2Click(); });
  SetText(lbInfo, GetExePath());
}

void Tf_Uninstal::Button2Click() { Application.Halt(ExitByUser); }

void Tf_Uninstal::Button1Click() {
  ShowStep(1);
  if (Ask("Sind Sie sicher, daß Sie das Programm entfernen wollen?", DlgType::Confirmation, mbYes | mbNo, mrYes) !=
      mrYes)
    return;
  Hide();
  RemoveInstallation();
}

void Tf_Uninstal::RemoveInstallation() {
  const std::string logPath = AddBackslash(AppDir) + InstallLogName;
  const std::vector<LoggedFile> files = ReadLoggedFiles(logPath);
  f_Progress->SetVisible(ProgressForm::Label2, false);
  f_Progress->SetVisible(ProgressForm::pnTo, false);
  // A removal stopped half-way would leave a program that is neither installed nor gone; it
  // takes a few seconds at most, so it is not offered.
  f_Progress->SetVisible(ProgressForm::bnEsc, false);
  f_Progress->SetCaption("Löschen");
  if (!QuietMode) f_Progress->Show();
  f_Progress->SetGauge(ProgressForm::Gauge1, 0, static_cast<int>(files.size()));

  // The program directory is where the uninstaller lies, whatever the log names first (any
  // user may have edited a log), and only when it is a real one.
  const std::string ownDir = LowerCase(WithoutLastCharacter(AppDir));
  const ProtectedFolders system = {GetWindowsDir(), GetProfilesDirectory(), ProgramFilesDir()};
  const std::string programDir = IsRealProgramDirectory(ownDir, system) ? ownDir : "";
  if (!programDir.empty()) RemoveLeftWorkFiles(programDir);

  ShowStep(2);
  const std::vector<std::string> notDeleted = DeleteLoggedFiles(files, programDir, logPath);
  const IniFile log(logPath);
  StartMenuFolder = log.ReadString(LogStartMenu, "Folder", "");
  TargetProfileDir = log.ReadString(LogUserProfile, "UserName", "");
  const std::vector<std::string> foldersAbove = FoldersToRemoveAbove(ReadCreatedFolders(logPath), programDir, system);
  f_Progress->Hide();

  DeleteRegistration();
  RemoveGroupAndShortcuts(logPath);

  ShowStep(3);
  const bool directoryDeleted = !programDir.empty() && AskAndDeleteDirectory(programDir, logPath, foldersAbove);
  // A directory kept for the user's files keeps them, but the uninstaller and its log go (and
  // the directory with them when nothing else is left): nothing stays that belongs to a
  // program no longer installed.
  const bool leaveDirectory = !programDir.empty() && !directoryDeleted;
  if (leaveDirectory) DeleteFileNamed(logPath);
  const std::string batch = directoryDeleted || leaveDirectory ? WriteRemovalBatch(foldersAbove) : "";
  // The uninstaller and its log stay while it runs; anything else logged should be gone
  // (a file the loop could not delete may have gone with the directory).
  const std::string self = LowerCase(GetExePath()), ownLog = LowerCase(logPath);
  for (const std::string& file : notDeleted) {
    const std::string name = LowerCase(file);
    if (!name.empty() && name != self && name != ownLog && FileExists(file)) somethingLeft_ = true;
  }

  ShowStep(4);
  Ask("Das Programm wurde deinstalliert!", DlgType::Information, mbOK, mrOk);
  // Started only now, so that the message may stay open as long as the user likes while
  // the batch file's tries for the uninstaller are counted.
  // The interpreter by its full path: a cmd.exe beside the uninstaller must never be the one.
  if (!batch.empty())
    StartHidden(WideSystem() ? Concat({"\"", SystemDirectory(), "\\cmd.exe\" /c \"\"", batch, "\"\""}) : batch);
  Application.ExitCode = somethingLeft_ ? ExitFilesFailed : pending_.empty() ? ExitCompleted : ExitRestartNeeded;
  RecordRun({"removed ", programDir.empty() ? "the logged files" : programDir,
             directoryDeleted ? " with its directory" : ", the directory kept"});
  Close();
}

// What the log names is deleted only where the installation put it: below the program
// directory, or directly in the Windows directory as a shared file of which this program was
// the last user. What another program or the user had there before stays. Null: it may go.
const char* Tf_Uninstal::KeptBecause(const LoggedFile& file, const std::string& programDir,
                                     const std::string& windowsDir, const std::string& logPath) {
  if (!MayDeleteLoggedFile(file.path, programDir, windowsDir)) return "entry outside the program directory, ignored: ";
  const bool found = OriginSays(file.origin, "found");
  if (IsBelow(file.path, programDir)) return found ? "file kept, it was there before the installation: " : nullptr;
  // A quiet upgrade's copy of an earlier library, left by a run killed before its end.
  if (IsKeptFileName(ExtractFileName(file.path))) return nullptr;
  if (!OriginSays(file.origin, "shared")) return "file kept, not counted among the shared files: ";
  const long users = ReleaseSharedUse(file.path);
  // Released once only, should this uninstaller run again.
  if (users >= 0)
    IniFile(logPath).WriteString(LogFileOrigins, "File" + DecimalText(file.number), FileOriginText(found, false));
  if (users < 0) return "file kept, its users are not counted: ";
  if (users > 0) return "file kept, other programs use it: ";
  if (found) return "file kept, it was there before the installation: ";
  if (!file.state.empty() && FileState(file.path) != file.state) return "file kept, changed since the installation: ";
  return nullptr;
}

std::vector<std::string> Tf_Uninstal::DeleteLoggedFiles(const std::vector<LoggedFile>& files,
                                                        const std::string& programDir, const std::string& logPath) {
  const std::string windowsDir = GetWindowsDir();
  size_t named = 0;
  for (const LoggedFile& file : files) named += !file.path.empty();
  // Nobody follows a quiet removal: no pauses, nothing shown.
  const unsigned pause = QuietMode ? 0 : PausePerFile(named);
  long owed = 0;  // pause time not yet waited; below 0 when a wait ran over
  RepaintPacer pacer;
  FolderGuard guard;
  std::vector<std::string> notDeleted;
  const std::string self = LowerCase(GetExePath());
  int done = 0;
  for (const LoggedFile& entry : files) {
    const std::string& file = entry.path;
    ++done;
    if (!QuietMode && (pacer.Due() || done == static_cast<int>(files.size()))) {
      f_Progress->SetText(ProgressForm::pnFrom, file);
      f_Progress->SetGauge(ProgressForm::Gauge1, done, static_cast<int>(files.size()));
      pacer.Repainted();
    }
    if (file.empty()) continue;
    if (const char* kept = KeptBecause(entry, programDir, windowsDir, logPath)) {
      RecordRun({kept, file});
      continue;
    }
    // Never through a link elsewhere. A read-only file stays; it goes with the directory.
    const bool may = guard.Admits(file, IsBelow(file, programDir) ? programDir : windowsDir);
    const bool deleted = may && DeleteFileNamed(file);
    // A quiet upgrade's copy left by a killed run: the work folder it lay in goes with it.
    if (deleted) RemoveEmptyWorkFolderOf(file);
    // Quiet, a file in use (a program still running) goes at the next restart; the
    // uninstaller itself goes with its batch file.
    const bool later =
        may && !deleted && QuietMode && InUse(file) && LowerCase(file) != self && ReplaceAtRestart(file, "");
    RecordRun({deleted ? "file deleted: "
               : later ? "file in use, deleted at the next restart: "
                       : "file not deleted: ",
               file});
    if (later) pending_.push_back(file);
    if (!deleted && !later) notDeleted.push_back(file);
    // The pauses keep to their sum whatever the resolution of the system's clock (a tenth
    // of a second on some): what a wait ran over comes off the next ones.
    owed += static_cast<long>(pause);
    if (owed > 0) {
      const DWORD before = GetTickCount();
      Delay(owed - 1);  // Delay waits a millisecond beyond what it is asked
      owed -= static_cast<long>(GetTickCount() - before);
    }
  }
  return notDeleted;
}

namespace {
enum class Registration { Missing, Unfinished, Ours, Another };
// A key without a command is nobody's working registration: a run killed as it made it.
Registration RegistrationOf(const std::string& name) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf(name), false);
  if (!key) return Registration::Missing;
  const std::string command = ReadRegistryString(key, "UninstallString");
  if (command.empty()) return Registration::Unfinished;
  return SameFile(CommandProgram(command), GetExePath()) ? Registration::Ours : Registration::Another;
}

// The registration whose command starts this uninstaller, among every program's; empty when
// there is none.
std::string FindOwnRegistration() {
  RegKey all = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyPath, false);
  const std::string self = LowerCase(GetExePath());
  for (DWORD k = 0; all; ++k) {
    const std::string name = RegistrySubkeyName(all, k);
    if (name.empty()) break;
    RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf(name), false);
    if (LowerCase(CommandProgram(ReadRegistryString(key, "UninstallString"))) == self) return name;
  }
  return {};
}
}  // namespace

// Only the registration that names this uninstaller goes: the log's when it does, or when it
// was left unfinished (any user may have edited the log to name another program's), else the
// one that does; never the key that holds every program's registration.
void Tf_Uninstal::DeleteRegistration() {
  std::string name = IsSingleKeyName(StartMenuFolder) ? StartMenuFolder : "";
  const Registration logged = name.empty() ? Registration::Missing : RegistrationOf(name);
  if (logged == Registration::Another)
    RecordRun({"registration kept, it names another uninstaller: HKEY_LOCAL_MACHINE\\", UninstallKeyOf(name)});
  if (logged == Registration::Missing || logged == Registration::Another) name = FindOwnRegistration();
  if (!name.empty()) DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKeyOf(name));
}

void Tf_Uninstal::RemoveGroupAndShortcuts(const std::string& logPath) {
  if (GroupName.empty()) return;
  // A log may name another profile; only a profile folder is accepted for it.
  const std::string profile = IsProfileFolder(TargetProfileDir, GetProfilesDirectory()) ? TargetProfileDir : "";
  const std::string group = IsPlainFileName(GroupName) ? GroupName : "";
  // Where the installer made them, and where an earlier version or another Windows layout did.
  const ShortcutFolders made = ShortcutFoldersOf(profile);
  std::vector<std::string> groups;
  const std::vector<std::string> folders = KnownShortcutFolders(made, profile, group, groups);
  // The shortcuts the log names; an earlier version's log names none, and its own bear the
  // program's name.
  std::vector<std::string> links = ReadShortcuts(logPath);
  if (links.empty() && IsPlainFileName(ShortcutName))
    for (const std::string& folder : folders)
      if (!folder.empty()) links.push_back(folder + "\\" + ShortcutName + ".LNK");
  for (const std::string& link : links)
    if (MayDeleteShortcut(link, folders))
      DeleteFileNamed(link);
    else
      RecordRun({"shortcut ignored, not in the program's folders: ", link});
  // A group goes when no other program's shortcut is left in it.
  for (const std::string& folder : groups) RemoveDirectoryNamed(folder);
  NotifyFolderChanged(made.desktop.empty() ? made.startMenu : made.desktop);
}

bool Tf_Uninstal::AskAndDeleteDirectory(const std::string& programDir, const std::string& logPath,
                                        const std::vector<std::string>& foldersAbove) {
  // Quiet, nobody is asked: the directory goes only when nothing but the uninstaller and its
  // log is left in it, so that no file of the user's is lost.
  if (QuietMode) {
    std::vector<std::string> ours = pending_;
    ours.push_back(GetExePath());
    ours.push_back(logPath);
    if (!HoldsOnly(programDir, ours)) return false;
    DeleteTree(programDir);
    // Emptied at the restart, it goes then, and the folders the installation made above it
    // after it (the system takes the names in order, and leaves a folder that is not empty).
    if (!pending_.empty()) {
      ReplaceAtRestart(programDir, "");
      for (const std::string& folder : foldersAbove) ReplaceAtRestart(folder, "");
    }
    return true;
  }
  auto ask = CreateForm<Tf_Ask>();
  ask->Fill(programDir);
  if (ask->ShowModal() != mrOk) return false;
  DeleteTree(programDir);
  return true;
}

std::string Tf_Uninstal::WriteRemovalBatch(const std::vector<std::string>& foldersAbove) {
  const std::string temporary = MakeTempFileName();
  // The window is hidden but modal: after a failure nothing would be left to use.
  if (temporary.size() < 3) Application.Fail(CannotCreateError(TempDirectory()));
  const std::string batch = temporary.substr(0, temporary.size() - 3) + "bat";
  std::string exe = GetExePath();
  SetFileAttributesNamed(exe, FILE_ATTRIBUTE_NORMAL);
  // The batch file deletes the uninstaller under a name of this run's own: an installation
  // started as soon as this run ends may put a new Uninstal.exe there, which is not ours to
  // take. (Where a running program cannot be renamed, the 95 family, it goes by its name.)
  if (const std::string renamed = TemporaryName(ExtractFilePath(exe), "~rm"); MoveFileNamed(exe, renamed))
    exe = renamed;
  std::vector<std::string> above;
  for (const std::string& folder : foldersAbove) above.push_back(NameForBatch(folder));
  const std::string text =
      RemovalBatchText(NameForBatch(exe), NameForBatch(WithoutLastCharacter(ExtractFilePath(exe))), above,
                       NameForBatch(WithoutLastCharacter(ExtractFilePath(batch))) + "\\" + ExtractFileName(batch));
  if (!WriteFileBytes(batch, BatchFileBytes(text))) Application.Fail(CannotCreateError(batch));
  // Neither process may hold a folder that is to go as its current directory. The Windows
  // directory's drive always exists, where a fixed "c:\" need not.
  const std::string root = GetWindowsDir().substr(0, 3);
  if (!SetCurrentDirectoryNamed(root)) Application.Fail(IoError(GetLastError()));
  return batch;
}
