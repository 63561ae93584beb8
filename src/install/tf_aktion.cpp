#include "install/tf_aktion.h"

#include "app/tf_setup.h"
#include "env/exit_codes.h"
#include "env/settings.h"
#include "forms/forms.h"
#include "ui/application.h"
#include "ui/dialogs.h"

Tf_Aktion* f_Aktion = nullptr;

namespace {
enum Page { Welcome, Info, BGB, Path, CopyInfo };
}  // namespace

Tf_Aktion::Tf_Aktion() : Form(AktionFormDesc) { f_Aktion = this; }

void Tf_Aktion::FormCreate() {
  OnClick("bnInstal", [this] { bnInstalClick(); });
  OnClick("bnBack", [this] { bnBackClick(); });
  OnClick("bnja", [this] { bnjaClick(); });
  OnClick("bnNein", [this] { bnNeinClick(); });
  OnClick("bnEnd", [this] { bnEndClick(); });
  SetText("edPathName", DefaultPath);
  LicenceAccepted = false;
  ShowPage("nb1", Welcome);
}

void Tf_Aktion::FormShow() {
  if (SilentMode) SetPosition(8000, Top());
}

void Tf_Aktion::ShowAnswerButtons(bool visible) {
  SetVisible("bnja", visible);
  SetVisible("bnNein", visible);
  SetVisible("Panel4", visible);
}

void Tf_Aktion::ShowPageStep(int page, int step) {
  ShowPage("nb1", page);
  if (f_Setup) f_Setup->SelectStep(step);
}

void Tf_Aktion::bnInstalClick() {
  const std::string page = ActivePage("nb1");
  if (page != "Info") ShowAnswerButtons(false);
  if (page == "Welcome") {
    SetEnabled("bnBack", true);
    ShowPageStep(Info, 2);
  } else if (page == "Info") {
    ShowPageStep(BGB, 3);
    if (!LicenceAccepted) {
      SetEnabled("bnInstal", false);
      ShowAnswerButtons(true);
    } else {
      ShowAnswerButtons(false);
    }
  } else if (page == "BGB") {
    ShowPageStep(Path, 4);
    SetText("bnInstal", "&Fertig");
    Focus("edPathName");
  } else if (page == "Path") {
    StartInstallation();
  }
}

void Tf_Aktion::bnBackClick() {
  ShowAnswerButtons(false);
  SetEnabled("bnInstal", true);
  SetText("bnInstal", "&Weiter");
  const std::string page = ActivePage("nb1");
  if (page == "Info") {
    SetEnabled("bnBack", false);
    ShowPageStep(Welcome, 1);
  } else if (page == "BGB") {
    ShowPageStep(Info, 2);
  } else if (page == "Path") {
    ShowPageStep(BGB, 3);
  }
}

void Tf_Aktion::bnjaClick() {
  LicenceAccepted = true;
  SetEnabled("bnInstal", true);
  bnInstalClick();  // on the licence page: on to the directory
}

void Tf_Aktion::bnNeinClick() { Application.Halt(ExitByUser); }

void Tf_Aktion::bnEndClick() { Application.Halt(ExitByUser); }

// The directory check and the copying are not part of this build yet: say so plainly
// instead of pretending to have installed anything.
void Tf_Aktion::StartInstallation() {
  ShowMessage("Diese Ausgabe des Setup-Programms kann noch keine Dateien kopieren. "
              "Es wurde nichts installiert.");
  Application.ExitCode = ExitFilesFailed;
  SetModalResult(2);
}
