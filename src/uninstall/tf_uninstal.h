// The uninstall window: asks to go on or to end, and carries out the removal.
#pragma once
#include <string>
#include <vector>

#include "install/install_log.h"
#include "ui/form.h"

class Tf_Uninstal : public Form {
 public:
  Tf_Uninstal();
  // "Weiter": the question, then the removal. Quiet mode comes here straight away.
  void Button1Click();

 protected:
  void FormCreate() override;

 private:
  void Button2Click();
  void RemoveInstallation();
  // Returns the logged files it did not delete.
  std::vector<std::string> DeleteLoggedFiles(const std::vector<LoggedFile>& files, const std::string& programDir,
                                             const std::string& logPath);
  const char* KeptBecause(const LoggedFile& file, const std::string& programDir, const std::string& windowsDir,
                          const std::string& logPath);
  void DeleteRegistration();
  void RemoveGroupAndShortcuts(const std::string& logPath);
  // True when the user chose to delete the directory; the batch file is then written.
  bool AskAndDeleteDirectory(const std::string& programDir, const std::string& logPath,
                             const std::vector<std::string>& foldersAbove);
  std::string WriteRemovalBatch(const std::vector<std::string>& foldersAbove);

  bool somethingLeft_ = false;        // a logged file could not be removed
  std::vector<std::string> pending_;  // quiet: logged files in use, deleted at the next restart
};

extern Tf_Uninstal* f_Uninstal;
