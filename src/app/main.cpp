// The main program block: unit start-up, the forms that live for the whole run, the loop.
#include <windows.h>

#include "app/tf_setup.h"
#include "env/settings.h"
#include "forms/forms.h"
#include "install/tf_info.h"
#include "install/tf_more.h"
#include "ui/application.h"
#include "uninstall/tf_progress.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitSettings();
  Application.Title = "Setup";
  auto setup = CreateForm<Tf_Setup>();
  // FormCreate may have ended the process; from here on the start window is the main one.
  SetStepHost(&setup->StepTree());
  Application.MainForm = setup.get();
  auto info = CreateForm<Tf_info>();
  auto more = CreateForm<Tf_more>();
  auto progress = CreateForm<Tf_Progress>();
  f_info = info.get();
  f_more = more.get();
  f_Progress = progress.get();
  if (SilentMode) Application.ShowMainForm = false;
  setup->Start();
  return Application.Run();
}
