// The install wizard: five pages, walked with "Weiter" and "Zurück", the licence accepted
// with "Ja".
#pragma once
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

 protected:
  void FormCreate() override;
  void FormShow() override;

 private:
  void ShowAnswerButtons(bool visible);
  void ShowPageStep(int page, int step);
  void StartInstallation();

  bool LicenceAccepted = false;
};

extern Tf_Aktion* f_Aktion;
