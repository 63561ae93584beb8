#include "install/tf_aktion.h"

#include "codec/name_mapping.h"
#include "env/administrator.h"
#include "env/exit_codes.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/library_error.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/windows_version.h"
#include "forms/forms.h"
#include "install/install_log.h"
#include "install/setup_script.h"
#include "install/tf_info.h"
#include "install/wizard_texts.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/steps.h"

using namespace AktionForm;

Tf_Aktion* f_Aktion = nullptr;

namespace {
enum Page { Welcome, Info, BGB, Path, CopyInfo };

bool LimitedNtUser() { return IsLimitedNtUser(GetWindowsVersionName(), IsAdministrator()); }
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
    Ask(AdministratorAdviceText(ProgramName, GetWindowsVersionName(), DefaultPath), DlgType::Information, mbOK,
        mrOk);
  SetText(Label4, ReplaceProgPlaceholder(Text(Label4), ProgramName));
  SetText(edPathName, DefaultPath);
  LicenceAccepted = false;
  ShowPage(nb1, Welcome);
  // A damaged text (only a new copy of the distribution helps) fails the run as a file does.
  const std::string dir = IncludeBackslash(GetExeDirectory());
  if (SetTextFromFile(Memo1, dir + "Vertrag.Txt", SetupScript(dir).Checksum("Vertrag.Txt")) == TextLoad::Damaged)
    InstallError = true;
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
    Focus(edPathName);
  } else if (page == "Path") {
    if (ValidateDirectory()) StartInstallation();
  }
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
  if (BrowseForFolder(Handle(), "Bitte wählen Sie ein Verzeichnis", folder))
    SetText(edPathName, folder);
}

// True when the directory in edPathName may take the program; otherwise the user has been
// told why, and perhaps been given another directory to try.
bool Tf_Aktion::ValidateDirectory() {
  std::string path = Text(edPathName);
  if (QuietMode) return AcceptQuietly(path);
  if (IsMainDirectory(path)) {
    ShowMessage(MainDirectoryText());
    return false;
  }
  if (!DirectoryExists(path)) {
    if (!Checked(cbMakePath) &&
        Ask(CreateDirectoryQuestion(), DlgType::Confirmation, mbYes | mbNo, mrYes) != mrYes)
      return false;
    MakeDirectory(path);  // a failure shows in the write test below
  }
  if (SilentMode && !CanWriteToDir(path)) SetText(edPathName, Proposal(path));
  path = Text(edPathName);
  if (DirectoryExists(path) && CanWriteToDir(path)) return true;
  Ask(DirectoryWarningText(path, LimitedNtUser()), DlgType::Warning, mbOK, mrOk);
  Show();
  BringToFront();
  SetText(edPathName, Proposal(path));
  return false;
}

// The folders made above the directory are noted, so that the removal takes them away too.
bool Tf_Aktion::MakeDirectory(const std::string& path) {
  CreatedFolders = MissingFoldersAbove(path);
  return ForceDirectories(path);
}

// Quiet, nobody can choose another directory: one that cannot take the program ends the run
// at once, with its own status for the deployment tool, and what was made for it goes again.
bool Tf_Aktion::AcceptQuietly(const std::string& path) {
  const bool full = IsFullDirectoryPath(path);
  const bool made = full && !DirectoryExists(path) && MakeDirectory(path);
  if (full && DirectoryExists(path) && CanWriteToDir(path)) return true;
  if (made) RemoveDirectoryA(path.c_str());
  for (auto folder = CreatedFolders.rbegin(); folder != CreatedFolders.rend(); ++folder)
    RemoveDirectoryA(folder->c_str());
  RecordRun({"the installation directory cannot be created or written: ", path});
  Application.Halt(ExitDirectoryFailed);
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
  if (SilentMode || !Visible()) Application.Halt(ExitLibraryFailure);
}

// The gauge moves with the copy page's repaints.
void Tf_Aktion::Step() { ++progress_; }

bool Tf_Aktion::InstallFile(const std::string& name, const std::string& targetName,
                            const std::string& targetDir) {
  const auto checksum = checksums_.find(LowerCase(name));
  if (!CopyInstallFile(name, targetName, sourceDir_, IncludeBackslash(targetDir), copyPage_,
                       checksum == checksums_.end() ? std::string() : checksum->second))
    return false;
  installedBytes_ += FileSize(IncludeBackslash(targetDir) + MapCompressedName(targetName));
  return true;
}

// False when the log cannot be written: nothing more is installed then.
bool Tf_Aktion::RunInstallation() {
  sourceDir_ = GetExeDirectory();
  std::vector<std::string> programFiles, windowsFiles;
  {
    const SetupScript script(sourceDir_);
    programFiles = script.ProgramFiles();
    windowsFiles = script.WindowsFiles();
    checksums_ = script.Checksums();
    GroupName = script.Value("Group", "Name", "Gruppex");
  }
  // The readme is checked once, whether anyone opened it or not.
  if (checksums_.count("liesmich.txt") && f_info && f_info->LoadReadme() == TextLoad::Damaged) InstallError = true;
  maximum_ = static_cast<unsigned>(programFiles.size() + windowsFiles.size() + 1);
  progress_ = 0;
  SetGauge(Gauge1, 0, static_cast<int>(maximum_));
  for (size_t k = 0; k < programFiles.size(); ++k) {
    const std::string& name = programFiles[k];
    if (k == 0) MainProgramPath = MapCompressedName(IncludeBackslash(InstallDir) + name);
    Step();
    // A reinstallation keeps the user's own data in place of the sample.
    if (LowerCase(name).find("beispiel.") != std::string::npos &&
        FileExists(IncludeBackslash(InstallDir) + "Beispiel.hdb"))
      continue;
    if (!InstallFile(name, name, InstallDir)) return false;
  }
  for (const std::string& name : windowsFiles) {
    Step();
    if (!InstallFile(name, name, GetWindowsDir())) return false;
  }
  Step();
  if (!InstallFile("Setup.exe", "Uninstal.exe", InstallDir)) return false;
  copyPage_.ShowNow();
  if (!CreateProgmanGroup()) return false;
  // A file skipped with "Nein" is missing too: status 0 promises that every file is installed.
  Application.ExitCode = InstallError || FileSkipped ? ExitFilesFailed : ExitCompleted;
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

bool Tf_Aktion::CopyPage::Record(const std::string& target) {
  return LogInstalledFile(wizard_.progress_, target);
}
