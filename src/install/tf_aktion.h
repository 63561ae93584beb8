// The install wizard: five pages, walked with "Weiter" and "Zurück", the licence accepted
// with "Ja".
#pragma once
#include <map>
#include <string>

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
  void ShowAnswerButtons(bool visible);
  void ShowPageStep(int page, int step);
  bool ValidateDirectory();
  bool MakeDirectory(const std::string& path);
  bool AcceptQuietly(const std::string& path);
  std::string Proposal(const std::string& path) const;
  void StartInstallation();
  bool RunInstallation();
  bool InstallFile(const std::string& name, const std::string& targetName,
                   const std::string& targetDir);
  void Step();

  // The copy page, where each file shows itself and is numbered in the log.
  class CopyPage : public CopyView {
   public:
    explicit CopyPage(Tf_Aktion& wizard) : wizard_(wizard) {}
    void ShowPaths(const std::string& from, const std::string& to) override;
    void ShowNow() override;
    bool Record(const std::string& target) override;

   private:
    Tf_Aktion& wizard_;
    std::string from_, to_;
    RepaintPacer pacer_;
  };
  CopyPage copyPage_{*this};

  // The program group and what follows it.
  // False, as RunInstallation, when the log cannot be written.
  bool CreateProgmanGroup();
  std::string ChooseGroupFolder(const std::string& programs);
  bool CreateGroupAndShortcuts(const std::string& programs);
  void OptionalLink(const char* checkBox, int specialFolder, const char* profileFolder,
                    const ShortcutItem& item);
  void RegisterUninstall();
  void Complete();

  bool libraryFailed_ = false;  // a library failure ended the run; Beenden reports it
  unsigned progress_ = 0;  // Gauge1's position; numbers the log entries
  unsigned maximum_ = 0;
  unsigned long long installedBytes_ = 0;  // of the files in place, for the registration
  std::string sourceDir_;  // the distribution's folder, ending in "\"
  std::map<std::string, std::string> checksums_;  // the script's, by lower-case file name

  bool LicenceAccepted = false;
};

extern Tf_Aktion* f_Aktion;
