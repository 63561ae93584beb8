#include "ui/application.h"

#include <windows.h>

#include "env/messages.h"
#include "env/paths.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "ui/form.h"

TApplication Application;

namespace {
void RecordExit(int code) { RecordRun({"exit status ", DecimalText(static_cast<unsigned long>(code))}); }
}  // namespace

int TApplication::Run() {
  if (MainForm && ShowMainForm) MainForm->Show();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchOneMessage(msg);
  RecordExit(ExitCode);
  return ExitCode;
}

void TApplication::ProcessMessages() { DispatchPendingMessages(); }

void TApplication::Halt(int exitCode) {
  RecordExit(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}

void TApplication::ShowException(const std::exception& error) { ShowError(error.what()); }

void TApplication::HandleException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowError("Unbekannter Fehler");
  }
}

// Quiet, nobody could read the box: the failure goes into the record only, and the run goes
// on as it would after the box.
void TApplication::ShowError(const char* text) {
  RecordRun({"failure: ", text});
  if (!QuietMode) MessageBoxA(GetActiveWindow(), text, Title.c_str(), MB_OK | MB_ICONERROR);
}
