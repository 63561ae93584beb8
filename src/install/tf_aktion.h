// The install wizard: five pages, walked with "Weiter" and "Zurück", the licence accepted
// with "Ja".
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "env/paths.h"
#include "install/file_journal.h"
#include "install/install_log.h"
#include "install/setup_script.h"
#include "transfer/copy_install_file.h"
#include "env/wait.h"
#include "ui/form.h"

class Tf_Aktion : public Form {
 public:
  Tf_Aktion();

  // The unattended run: "Weiter", "Weiter", "Ja" to the licence, "Fertig", as a person would.
  void WalkUnattended();

  void bnInstalClick();
  void bnBackClick();
  void bnjaClick();
  void bnNeinClick();
  void bnEndClick();
  void bnInfoClick();
  void bnDirClick();

 protected:
  void FormCreate() override;
  void FormShow() override;

 private:
  void FitLicence();
  void ShowAnswerButtons(bool visible);
  void ShowPageStep(int page, int step);
  void FocusOnward();
  bool ValidateDirectory();
  bool MakeDirectory(const std::string& path);
  bool AcceptQuietly(const std::string& path);
  bool AcceptOtherProgram(const std::string& path);
  bool AcceptOpenDirectory(const std::string& path);
  std::string Proposal(const std::string& path) const;
  void StartInstallation();
  bool RunInstallation();
  // One file of the run: where it goes, and as the log names it before it is copied.
  struct Planned {
    std::string name;                      // in the distribution
    bool windows = false;                  // goes into the Windows directory, else the installation's
    bool uninstaller = false;              // this program, as "Uninstal.exe"
    bool usersDatabase = false;            // the user's database in place of the sample: logged, not copied
    std::string target = {}, origin = {};  // the logged path (lower case), and its origin
    unsigned long attributes = 0;          // of the target, as the log found it
  };
  std::vector<Planned> PlanFiles(const std::vector<std::string>& programFiles,
                                 const std::vector<std::string>& windowsFiles);
  // Group commit: the log names the next files from from on and is on the disk before the
  // first of them takes its name. The place after the last one logged; 0 when the log cannot
  // be written.
  size_t LogAhead(std::vector<Planned>& plan, size_t from);
  bool InstallFile(const Planned& file);
  void Step();
  bool LogEntry(const std::string& path, const std::string& origin = {});
  // Where a file about to be logged comes from (removal_rules.h); a file of the Windows
  // directory is counted among the shared files then, once per program.
  std::string OriginOf(const std::string& target, bool exists);
  // The earlier installation's entry for path; null when it has none.
  const LoggedFile* EarlierEntry(const std::string& path) const;
  // Whether the earlier installation logged path; its origin then in origin.
  bool EarlierOrigin(const std::string& path, std::string& origin) const;

  // Over an earlier installation: its log is read first and continued, so that whatever
  // happens it names every file of both versions. False when it cannot be written.
  bool BeginLog();
  // After the files: the earlier version's files this one no longer has go where they are as
  // it left them, and the log is written whole with every file the installation owns and
  // its state. False when the log cannot be written.
  bool FinishLog();
  std::vector<LoggedFile> FilesOwnedNow();
  // A quiet run that fails leaves everything as it found it.
  void RollBack();
  void RemoveMadeFolders(const std::string& dir);

  // The copy page, where each file shows itself and is numbered in the log.
  class CopyPage : public CopyView {
   public:
    explicit CopyPage(Tf_Aktion& wizard) : wizard_(wizard) {}
    void ShowPaths(const std::string& from, const std::string& to) override;
    void ShowNow() override;
    bool Record(const std::string& target, const FileContent& content) override;
    void NotPlaced(const std::string& target) override;
    Placement Place(const std::string& temporary, const std::string& target) override;

   private:
    Tf_Aktion& wizard_;
    unsigned long long recordedSize_ = 0;  // counted by Record for that file
    unsigned long targetAttributes_ = 0;   // of the file being recorded, as Record found them
    std::string from_, to_;
    RepaintPacer pacer_;
  };
  CopyPage copyPage_{*this};

  // The program group and what follows it.
  // False, as RunInstallation, when the log cannot be written.
  bool CreateProgmanGroup();
  bool ChooseProfile();
  bool CreateGroupAndShortcuts();
  // One shortcut to item in folder (empty: the system has none; folderName names it then).
  bool Link(const ShortcutItem& item, const std::string& folder, const char* folderName);
  void ReportMissingLinks();
  void RegisterUninstall();
  void Complete();

  bool libraryFailed_ = false;  // a library failure ended the run; Beenden reports it
  unsigned progress_ = 0;       // Gauge1's position; numbers the log entries
  unsigned maximum_ = 0;
  unsigned long long installedBytes_ = 0;         // of the files in place, for the registration
  std::vector<std::string> missingLinks_;         // shortcuts that could not be made
  std::string sourceDir_;                         // the distribution's folder, ending in "\"
  std::map<std::string, std::string> checksums_;  // the script's, by lower-case file name

  unsigned entries_ = 0;                               // the number of the log's last file entry
  std::vector<LoggedFile> earlier_;                    // what the earlier installation logged
  std::map<std::string, std::string> earlierOrigins_;  // its entries' origins by lower-case path
  bool sameProgram_ = false;                           // the earlier log is this program's (its registration)
  std::vector<LoggedFile> runFiles_;                   // what this run logged, in order, with their states and origins
  std::vector<std::string> untouched_;                 // of those, left as they were (the user's database)
  std::vector<std::string> notOurs_;                   // the user's database where the sample would go: never logged
  std::vector<std::string> counted_;                   // shared files this run counted, undone by a rollback
  const Planned* current_ = nullptr;                   // the file being installed
  // Quiet runs: the way back. A kept copy's name is on the disk before the copy is made.
  FileJournal journal_{
      [this](const std::string& path, bool flush) { return LogEntry(LowerCase(path)) && (!flush || FlushLog()); }};
  std::optional<std::string> earlierLog_;  // quiet runs: the log as the run found it
  bool madeDirectory_ = false;             // quiet runs: the run made the installation directory

  bool LicenceAccepted = false;
};

extern Tf_Aktion* f_Aktion;
