#include "install/tf_aktion.h"
#include "env/system_names.h"

#include <algorithm>

#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "env/administrator.h"
#include "env/deletion.h"
#include "env/exit_codes.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/ini_file.h"
#include "env/install_names.h"
#include "env/library_error.h"
#include "env/paths.h"
#include "env/permissions.h"
#include "env/profiles.h"
#include "env/removal_rules.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/shared_libraries.h"
#include "env/text_file.h"
#include "env/windows_version.h"
#include "forms/forms.h"
#include "install/install_log.h"
#include "install/setup_script.h"
#include "install/tf_info.h"
#include "install/upgrade_rules.h"
#include "install/wizard_texts.h"
#include "transfer/distribution.h"
#include "transfer/work_folder.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/steps.h"

using namespace AktionForm;

Tf_Aktion* f_Aktion = nullptr;

namespace {
enum Page { Welcome, Info, BGB, Path, CopyInfo };

bool LimitedNtUser() { return IsLimitedNtUser(GetWindowsVersionName(), IsAdministrator()); }

// The log is this program's: it names this registration; or, cut short before its closing
// sections by a power cut, it has none and names this program at its head. (No registration
// is ever called "\", so that default says that the log has none.) The name it gives the
// program in name (its registration where it has none).
bool IsThisProgramsLog(const IniFile& log, std::string& name) {
  const std::string key = log.ReadString(LogStartMenu, "Folder", "\\");
  name = log.ReadString(LogGeneral, "Name", key);
  return key == "\\" ? SameNameIgnoringCase(name, ProgramName) : SameNameIgnoringCase(key, StartMenuFolder);
}
}  // namespace

Tf_Aktion::Tf_Aktion() : Form(AktionFormDesc) { f_Aktion = this; }

void Tf_Aktion::FormCreate() {
  OnClick(bnInstal, [this] { bnInstalClick(); });
  OnClick(bnBack, [this] { bnBackClick(); });
  OnClick(bnja, [this] { bnjaClick(); });
  OnClick(bnNein, [this] { bnNeinClick(); });
  OnClick(bnEnd, [this] { bnEndClick(); });
  OnClick(bnInfo, [this] { bnInfoClick(); });
  OnClick(bnDir, [this] { bnDirClick(); });
  if (LimitedNtUser() && !CanWriteToDir(ExtractFilePath(DefaultPath)))
    Ask(AdministratorAdviceText(ProgramName, GetWindowsVersionName(), DefaultPath), DlgType::Information, mbOK, mrOk);
  SetText(Label4, ReplaceProgPlaceholder(Text(Label4), ProgramName));
  SetText(edPathName, DefaultPath);
  LicenceAccepted = false;
  ShowPage(nb1, Welcome);
  // A damaged text (only a new copy of the distribution helps) fails the run as a file does.
  if (ShowDistributionText(*this, Memo1, "Vertrag.Txt") == TextLoad::Damaged) InstallError = true;
  FitLicence();
}

// A licence broken into lines a little wider than the page (another font, another scaling) is
// shown as it is broken, not wrapped a second time: the wizard grows by up to a quarter.
void Tf_Aktion::FitLicence() {
  const int grow = LineOverhang(Memo1);
  if (grow == 0 || grow > ClientWidth() / 4) return;
  Widen(nb1, 0, grow);
  Widen(Panel4, grow, 0);
  SetBounds(Left(), Top(), Width() + grow, Height());
}

void Tf_Aktion::FormShow() {
  if (SilentMode) SetPosition(8000, Top());
}

void Tf_Aktion::ShowAnswerButtons(bool visible) {
  SetVisible(bnja, visible);
  SetVisible(bnNein, visible);
  SetVisible(Panel4, visible);
}

void Tf_Aktion::ShowPageStep(int page, int step) {
  ShowPage(nb1, page);
  ShowStep(step);
}

void Tf_Aktion::bnInstalClick() {
  const std::string page = ActivePage(nb1);
  if (page != "Info") ShowAnswerButtons(false);
  if (page == "Welcome") {
    SetEnabled(bnBack, true);
    ShowPageStep(Info, 2);
  } else if (page == "Info") {
    ShowPageStep(BGB, 3);
    if (!LicenceAccepted) {
      SetEnabled(bnInstal, false);
      ShowAnswerButtons(true);
    } else {
      ShowAnswerButtons(false);
    }
  } else if (page == "BGB") {
    ShowPageStep(Path, 4);
    SetText(bnInstal, "&Fertig");
  } else if (page == "Path") {
    if (ValidateDirectory()) StartInstallation();
    return;
  }
  FocusOnward();
}

// Each page starts where the keyboard goes on: the directory to type, else "Weiter", else
// (the licence not yet accepted) "Ja".
void Tf_Aktion::FocusOnward() {
  if (!Visible()) return;  // a quiet run's wizard is never shown
  if (ActivePage(nb1) == "Path")
    Focus(edPathName);
  else
    Focus(IsWindowEnabled(Item(bnInstal)) ? bnInstal : bnja);
}

void Tf_Aktion::bnBackClick() {
  ShowAnswerButtons(false);
  SetEnabled(bnInstal, true);
  SetText(bnInstal, "&Weiter");
  const std::string page = ActivePage(nb1);
  if (page == "Info") {
    SetEnabled(bnBack, false);
    ShowPageStep(Welcome, 1);
  } else if (page == "BGB") {
    ShowPageStep(Info, 2);
  } else if (page == "Path") {
    ShowPageStep(BGB, 3);
  }
  FocusOnward();
}

void Tf_Aktion::WalkUnattended() {
  bnInstalClick();
  bnInstalClick();
  bnjaClick();
  bnInstalClick();
}

void Tf_Aktion::bnjaClick() {
  LicenceAccepted = true;
  SetEnabled(bnInstal, true);
  bnInstalClick();  // on the licence page: on to the directory
}

void Tf_Aktion::bnNeinClick() { Application.Halt(ExitByUser); }

void Tf_Aktion::bnEndClick() { Application.Halt(libraryFailed_ ? ExitLibraryFailure : ExitByUser); }

void Tf_Aktion::bnInfoClick() {
  if (f_info) f_info->ShowModal();
}

void Tf_Aktion::bnDirClick() {
  std::string folder;
  if (BrowseForFolder(Handle(), "Bitte wählen Sie ein Verzeichnis", folder)) SetText(edPathName, folder);
}

// True when the directory in edPathName may take the program; otherwise the user has been
// told why, and perhaps been given another directory to try.
bool Tf_Aktion::ValidateDirectory() {
  // One name everywhere: the log, the registration and the removal name it as Windows does.
  const std::string canonical = CanonicalDirectory(Text(edPathName));
  if (!canonical.empty()) SetText(edPathName, canonical);
  std::string path = Text(edPathName);
  if (QuietMode) return AcceptQuietly(path);
  if (IsMainDirectory(path)) {
    ShowMessage(MainDirectoryText());
    return false;
  }
  const std::string typed = path;
  if (!canonical.empty() && !DirectoryExists(path)) {
    if (!Checked(cbMakePath) && Ask(CreateDirectoryQuestion(), DlgType::Confirmation, mbYes | mbNo, mrYes) != mrYes)
      return false;
    madeDirectory_ = MakeDirectory(path);  // a failure shows in the write test below
  }
  if (SilentMode && (canonical.empty() || !CanWriteToDir(path))) SetText(edPathName, Proposal(path));
  path = Text(edPathName);
  const bool usable = (!canonical.empty() || SilentMode) && DirectoryExists(path) && CanWriteToDir(path);
  if (usable && AcceptOtherProgram(path) && AcceptOpenDirectory(path)) return true;
  // Nothing made for a directory that is not taken stays, whatever the user does next.
  RemoveMadeFolders(typed);
  if (usable) return false;  // the user has been told why
  Ask(DirectoryWarningText(path, LimitedNtUser()), DlgType::Warning, mbOK, mrOk);
  Show();
  BringToFront();
  SetText(edPathName, Proposal(path));
  return false;
}

// The folders made above the directory are noted, so that the removal takes them away too.
// An administrator's new folders outside the program files folder get its protection: below
// C:\ every user could change what an administrator later starts or removes.
bool Tf_Aktion::MakeDirectory(const std::string& path) {
  CreatedFolders = MissingFoldersAbove(path);
  if (!ForceDirectories(path)) return false;
  if (!IsAdministrator() || InProgramFilesFolder(path)) return true;
  std::vector<std::string> made = CreatedFolders;
  made.push_back(path);
  for (const std::string& folder : made)
    RecordRun({ProtectFolder(folder) ? "only administrators may change: " : "permissions not set: ", folder});
  return true;
}

// Two programs in one directory would take each other's files at their removal.
bool Tf_Aktion::AcceptOtherProgram(const std::string& path) {
  const std::string log = IncludeBackslash(path) + InstallLogName;
  if (!FileExists(log)) return true;
  std::string name;
  if (IsThisProgramsLog(IniFile(log), name)) return true;
  RecordRun({"the directory holds another program's installation (", name, "): ", path});
  if (QuietMode) Application.Halt(ExitOtherProgram);
  Ask(OtherProgramText(path, name), DlgType::Warning, mbOK, mrOk);
  if (SilentMode) Application.Halt(ExitOtherProgram);
  return false;
}

// An administrator's program in a directory every user may change runs whatever a user put
// there the next time an administrator starts or removes it. Unattended, the record says so.
bool Tf_Aktion::AcceptOpenDirectory(const std::string& path) {
  if (!IsAdministrator() || !UsersCanWrite(path)) return true;
  RecordRun({"every user may change the files in the installation directory: ", path});
  return SilentMode || Ask(OpenDirectoryText(path), DlgType::Warning, mbYes | mbNo, mrNo) == mrYes;
}

// Quiet, nobody can choose another directory: one that cannot take the program ends the run
// at once, with its own status for the deployment tool, and what was made for it goes again.
bool Tf_Aktion::AcceptQuietly(const std::string& path) {
  const bool full = IsFullDirectoryPath(path) && !CanonicalDirectory(path).empty();
  madeDirectory_ = full && !DirectoryExists(path) && MakeDirectory(path);
  if (full && DirectoryExists(path) && CanWriteToDir(path))
    return AcceptOtherProgram(path) && AcceptOpenDirectory(path);
  RemoveMadeFolders(path);
  RecordRun({"the installation directory cannot be created or written: ", path});
  Application.Halt(ExitDirectoryFailed);
}

// Only empty folders go: what else is in them was not made by this run.
void Tf_Aktion::RemoveMadeFolders(const std::string& dir) {
  if (madeDirectory_) RemoveDirectoryNamed(dir);
  for (auto folder = CreatedFolders.rbegin(); folder != CreatedFolders.rend(); ++folder) RemoveDirectoryNamed(*folder);
  madeDirectory_ = false;
  CreatedFolders.clear();
}

std::string Tf_Aktion::Proposal(const std::string& path) const {
  return ProfileProposal(GetProfilesDirectory(), GetLogonUserName(), path);
}

void Tf_Aktion::StartInstallation() {
  ShowPageStep(CopyInfo, 5);
  Application.ProcessMessages();
  InstallDir = Text(edPathName);
  if (RunInstallation()) return;
  // A log that cannot be written ends the run here. Off the screen or hidden, the wizard
  // offers no "Beenden": the program ends after the message.
  libraryFailed_ = true;
  Application.ShowError(CannotWriteError(InstallLogPath()));
  if (QuietMode) RollBack();
  if (SilentMode || !Visible()) Application.Halt(ExitLibraryFailure);
}

// The gauge moves with the copy page's repaints.
void Tf_Aktion::Step() { ++progress_; }

bool Tf_Aktion::InstallFile(const Planned& file) {
  current_ = &file;
  if (file.usersDatabase) return copyPage_.Record(file.target, {});
  const auto checksum = checksums_.find(LowerCase(file.name));
  return CopyInstallFile(file.name, file.uninstaller ? "Uninstal.exe" : file.name, sourceDir_,
                         IncludeBackslash(file.windows ? GetWindowsDir() : InstallDir), copyPage_,
                         checksum == checksums_.end() ? std::string() : checksum->second);
}

// The uninstaller first: whatever ends the run, what it copied can be removed. The user's own
// data stays in place of the sample. The log names it only where an earlier version of ours
// put it there (its state recorded): the removal takes it then as after a first installation,
// and never a database the user had before.
std::vector<Tf_Aktion::Planned> Tf_Aktion::PlanFiles(const std::vector<std::string>& programFiles,
                                                     const std::vector<std::string>& windowsFiles) {
  std::vector<Planned> plan;
  const std::string windowsDir = GetWindowsDir();
  const auto add = [&](const std::string& name, bool windows) -> Planned& {
    Planned& file = plan.emplace_back();
    file.name = name;
    file.windows = windows;
    file.target = LowerCase(IncludeBackslash(windows ? windowsDir : InstallDir) + MapCompressedName(name));
    return file;
  };
  Planned& uninstaller = add("Uninstal.exe", false);
  uninstaller.name = "Setup.exe";
  uninstaller.uninstaller = true;
  for (const std::string& name : programFiles) {
    Planned& file = add(name, false);
    if (LowerCase(name).find("beispiel.") == std::string::npos ||
        !FileExists(IncludeBackslash(InstallDir) + "Beispiel.hdb"))
      continue;
    const LoggedFile* earlier = EarlierEntry(file.target);
    file.usersDatabase = earlier && !earlier->state.empty() && !OriginSays(earlier->origin, "found");
    (file.usersDatabase ? untouched_ : notOurs_).push_back(file.target);
    if (file.usersDatabase) continue;
    RecordRun({"file kept, the user's own: ", file.target});
    plan.pop_back();
  }
  for (const std::string& name : windowsFiles) add(name, true);
  return plan;
}

// The target is looked at once, for its origin and for the way back: Wine answers a name that
// is not there by reading the whole folder.
size_t Tf_Aktion::LogAhead(std::vector<Planned>& plan, size_t from) {
  const size_t end = std::min(plan.size(), from + 32);
  for (size_t k = from; k < end; ++k) {
    Planned& file = plan[k];
    file.attributes = FileAttributes(file.target);
    file.origin = OriginOf(file.target,
                           file.attributes != INVALID_FILE_ATTRIBUTES && !(file.attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!LogEntry(file.target, file.origin)) return 0;
    // An earlier file of the directory there: the name it will be kept under goes into the
    // same flush. (One of the Windows directory is kept beside itself, its name found then.)
    if (file.usersDatabase || file.windows || file.attributes == INVALID_FILE_ATTRIBUTES) continue;
    journal_.ReserveKeptName();
  }
  return FlushLog() ? end : 0;
}

bool Tf_Aktion::LogEntry(const std::string& path, const std::string& origin) {
  return LogInstalledFile(++entries_, path, origin);
}

const LoggedFile* Tf_Aktion::EarlierEntry(const std::string& path) const {
  for (const LoggedFile& file : earlier_)
    if (LowerCase(file.path) == LowerCase(path)) return &file;
  return nullptr;
}

bool Tf_Aktion::EarlierOrigin(const std::string& path, std::string& origin) const {
  const auto entry = earlierOrigins_.find(LowerCase(path));
  if (entry == earlierOrigins_.end()) return false;
  origin = entry->second;
  return true;
}

// A file that lies there already is another's, unless this program's earlier installation
// put it there; the uninstaller is always ours. A file of the Windows directory is shared: it
// counts its users, one of them perhaps unknown, once per program.
std::string Tf_Aktion::OriginOf(const std::string& target, bool exists) {
  std::string origin;
  const bool earlier = EarlierOrigin(target, origin);
  if (OriginSays(origin, "shared")) return origin;
  const bool found = earlier ? OriginSays(origin, "found") : exists;
  if (IsBelow(target, InstallDir) || !MayDeleteLoggedFile(target, "", GetWindowsDir())) {
    const bool uninstaller = LowerCase(target) == LowerCase(IncludeBackslash(InstallDir) + "uninstal.exe");
    return FileOriginText(found && !uninstaller, false);
  }
  bool uncounted = false;
  const bool shared = AddSharedUse(target, found && !earlier, uncounted);
  if (shared) counted_.push_back(target);
  return FileOriginText(earlier || !shared ? found : uncounted, shared);
}

bool Tf_Aktion::BeginLog() {
  const std::string logPath = InstallLogPath();
  if (QuietMode) {
    earlierLog_ = ReadFileBytes(logPath);
    Application.OnFail = [this] { RollBack(); };
  }
  if (!FileExists(logPath)) return true;
  earlier_ = ReadLoggedFiles(logPath);
  for (const LoggedFile& file : earlier_) earlierOrigins_.emplace(LowerCase(file.path), file.origin);
  // A directory with another program's log is refused before (AcceptOtherProgram); should
  // one be here all the same, none of its files is ever taken away for this one.
  std::string name;
  sameProgram_ = IsThisProgramsLog(IniFile(logPath), name);
  if (sameProgram_ && CreatedFolders.empty()) CreatedFolders = ReadCreatedFolders(logPath);
  RecordRun({"over an earlier installation, its log continued: ", logPath});
  if (!RewriteLog(earlier_)) return false;
  entries_ = static_cast<unsigned>(earlier_.size());
  return true;
}

// This run's files with their states, then those of the earlier version that stay.
std::vector<LoggedFile> Tf_Aktion::FilesOwnedNow() {
  std::map<std::string, std::string> listed;  // by lower-case path
  std::vector<LoggedFile> owned;
  const auto own = [&](const LoggedFile& file) {
    if (listed.emplace(LowerCase(file.path), std::string()).second) owned.push_back(file);
  };
  for (const LoggedFile& run : runFiles_) {
    // The user's database keeps the state the earlier version recorded, not the user's.
    const bool untouched = std::find(untouched_.begin(), untouched_.end(), run.path) != untouched_.end();
    const LoggedFile* earlier = untouched ? EarlierEntry(run.path) : nullptr;  // the one sample file
    own({run.path, earlier ? earlier->state : run.state, run.origin});
  }
  for (const std::string& path : journal_.Leftovers()) own({path, "", ""});
  FolderGuard guard;
  for (const LoggedFile& file : earlier_) {
    // The user's own database, which an earlier version logged without having put it there.
    if (std::find(notOurs_.begin(), notOurs_.end(), LowerCase(file.path)) != notOurs_.end()) continue;
    // Logged anew by this run: nothing to decide, and nothing to look at on the disk.
    if (listed.count(LowerCase(file.path)) != 0) continue;
    EarlierFile facts;
    facts.exists = FileExists(file.path);
    facts.inProgramDir = sameProgram_ && IsPlainAbsolutePath(file.path) && IsBelow(file.path, InstallDir) &&
                         guard.Admits(file.path, InstallDir);
    facts.backup = IsKeptFileName(ExtractFileName(file.path));
    facts.recordedState = file.state;
    facts.found = OriginSays(file.origin, "found");
    const EarlierFate fate = FateOfEarlierFile(facts, [&] { return FileState(file.path); });
    if (fate == EarlierFate::Drop) continue;
    if (fate == EarlierFate::Remove && (QuietMode ? journal_.KeepAside(file.path) : DeleteFileNamed(file.path))) {
      RecordRun({"file removed, no longer part of the program: ", file.path});
      if (facts.backup) RemoveEmptyWorkFolderOf(file.path);
      continue;
    }
    if (fate == EarlierFate::KeepChanged) RecordRun({"file kept, changed since it was installed: ", file.path});
    // A library an earlier version logged before libraries were counted: counted now, so that
    // the removal can take it as the last of its users.
    if (fate == EarlierFate::Keep && !OriginSays(file.origin, "shared") &&
        MayDeleteLoggedFile(file.path, "", GetWindowsDir()) && !IsKeptFileName(ExtractFileName(file.path))) {
      bool uncounted = false;
      if (AddSharedUse(file.path, false, uncounted)) {
        counted_.push_back(file.path);
        own({file.path, file.state, FileOriginText(OriginSays(file.origin, "found"), true)});
        continue;
      }
    }
    own(file);
  }
  return owned;
}

bool Tf_Aktion::FinishLog() {
  std::vector<LoggedFile> owned = FilesOwnedNow();
  const size_t count = owned.size();
  // The earlier files a quiet run kept aside stay named until they are gone.
  for (bool committed = !QuietMode;; committed = true) {
    owned.resize(count);
    const std::vector<std::string> kept = journal_.Kept();
    for (const std::string& file : kept) owned.push_back({file, "", ""});
    if (!RewriteLog(owned)) return false;
    if (committed) return true;
    Application.OnFail = nullptr;
    journal_.Commit();
    // What waits for the restart in the work folder goes before the folder does.
    RemoveWorkFolders(journal_.RestartNeeded());
    // Nothing was kept aside: the log just written is the final one already.
    if (kept.empty()) return true;
  }
}

void Tf_Aktion::RollBack() {
  Application.OnFail = nullptr;
  journal_.Undo();
  RemoveWorkFolders();
  for (const std::string& file : counted_) ReleaseSharedUse(file);
  RestoreLog(earlierLog_);
  // An upgrade's folders are the earlier installation's: they stay.
  if (madeDirectory_) RemoveMadeFolders(InstallDir);
  RecordRun({"the run failed: the files, the log and the directory are as before it"});
}

// False when the log cannot be written: nothing more is installed then.
bool Tf_Aktion::RunInstallation() {
  sourceDir_ = DistributionDir();
  std::vector<std::string> programFiles, windowsFiles;
  {
    const SetupScript script;
    programFiles = script.ProgramFiles();
    windowsFiles = script.WindowsFiles();
    checksums_ = script.Checksums();
    GroupName = script.Value("Group", "Name", "Gruppex");
  }
  // An attended run ended with "Abbrechen" leaves no empty work folder behind.
  Application.OnHalt = [] { RemoveWorkFolders(); };
  RemoveLeftWorkFiles(InstallDir);
  if (!BeginLog()) return false;
  // The readme is checked once, whether anyone opened it or not.
  if (checksums_.count("liesmich.txt") && f_info && f_info->LoadReadme() == TextLoad::Damaged) InstallError = true;
  if (!programFiles.empty()) MainProgramPath = MapCompressedName(IncludeBackslash(InstallDir) + programFiles.front());
  std::vector<Planned> plan = PlanFiles(programFiles, windowsFiles);
  maximum_ = static_cast<unsigned>(programFiles.size() + windowsFiles.size() + 1);
  progress_ = 0;
  SetGauge(Gauge1, 0, static_cast<int>(maximum_));
  for (size_t k = 0, logged = 0; k < plan.size(); ++k) {
    if (k == logged && !(logged = LogAhead(plan, k))) return false;
    Step();
    if (!InstallFile(plan[k])) return false;
    // With a person at the screen the uninstaller's registration follows it at once: a run
    // ended with "Abbrechen" at a copy question leaves what it copied removable. (A quiet
    // run takes everything back itself.)
    if (k == 0 && !QuietMode && !GroupName.empty()) RegisterUninstall();
  }
  progress_ = maximum_;
  copyPage_.ShowNow();
  if (!QuietMode) RemoveWorkFolders();
  // A file skipped with "Nein" is missing too: status 0 promises that every file is installed.
  const bool failed = InstallError || FileSkipped;
  if (QuietMode && failed) {
    RollBack();
    Application.Halt(ExitFilesFailed);
  }
  if (!FinishLog()) return false;
  if (!CreateProgmanGroup()) return false;
  Application.ExitCode = failed                     ? ExitFilesFailed
                         : journal_.RestartNeeded() ? ExitRestartNeeded
                         : !missingLinks_.empty()   ? ExitShortcutsMissing
                                                    : ExitCompleted;
  Application.ProcessMessages();
  SetModalResult(mrOk);
  return true;
}

void Tf_Aktion::CopyPage::ShowPaths(const std::string& from, const std::string& to) {
  from_ = from;
  to_ = to;
  if (pacer_.Due()) ShowNow();
}

void Tf_Aktion::CopyPage::ShowNow() {
  wizard_.SetText(pnFrom, from_);
  wizard_.SetText(pnTo, to_);
  wizard_.SetGauge(Gauge1, static_cast<int>(wizard_.progress_), static_cast<int>(wizard_.maximum_));
  // Only what changed: the two paths and the gauge invalidated themselves.
  RedrawWindow(wizard_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  pacer_.Repainted();
}

// Logged already, with the target as it was found then.
bool Tf_Aktion::CopyPage::Record(const std::string& target, const FileContent& content) {
  const Planned& file = *wizard_.current_;
  targetAttributes_ = file.attributes;
  const std::string state = content.sha256.empty() ? std::string() : FileStateText(content.size, content.sha256);
  wizard_.installedBytes_ += content.size;
  recordedSize_ = content.size;
  wizard_.runFiles_.push_back({target, state, file.origin});
  return true;
}

// The log keeps naming the file (something may lie there now), but neither its size nor the
// state of bytes that are not there.
void Tf_Aktion::CopyPage::NotPlaced(const std::string& target) {
  LoggedFile& last = wizard_.runFiles_.back();
  if (last.path != target) return;
  wizard_.installedBytes_ -= recordedSize_;
  last.state.clear();
}

// Attended and /s runs put each file in place as they always did; a quiet one keeps its way back.
Placement Tf_Aktion::CopyPage::Place(const std::string& temporary, const std::string& target) {
  if (!QuietMode) return Placement::Move;
  return wizard_.journal_.Place(temporary, target, targetAttributes_);
}
