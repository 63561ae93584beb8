// The install wizard: five pages, walked with "Weiter" and "Zurück", the licence accepted
// with "Ja".
#pragma once
#include <string>

#include "ui/form.h"

class Tf_Aktion : public Form {
 public:
  Tf_Aktion();

  // Button handlers; the unattended run calls them directly.
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
  std::string Proposal(const std::string& path) const;
  void StartInstallation();
  void RunInstallation();

  bool LicenceAccepted = false;
};

extern Tf_Aktion* f_Aktion;
