#include "uninstall/tf_uninstal.h"

#include "env/exit_codes.h"
#include "env/profiles.h"
#include "forms/forms.h"
#include "ui/application.h"

Tf_Uninstal* f_Uninstal = nullptr;

Tf_Uninstal::Tf_Uninstal() : Form(UninstalFormDesc) { f_Uninstal = this; }

void Tf_Uninstal::FormCreate() {
  OnClick("Button2", [this] { Button2Click(); });
  SetText("lbInfo", GetExePath());
}

void Tf_Uninstal::Button2Click() { Application.Halt(ExitByUser); }
