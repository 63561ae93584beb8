#include "ui/application.h"

#include <windows.h>

#include <utility>

#include "env/exit_codes.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "ui/form.h"
#include "ui/system_window.h"

TApplication Application;

namespace {
void RecordExit(int code) { RecordRun({"exit status ", DecimalText(static_cast<unsigned long>(code))}); }
}  // namespace

int TApplication::Run() {
  if (MainForm && ShowMainForm) MainForm->Show();
  MSG msg;
  while (GetNextMessage(msg)) DispatchOneMessage(msg);
  RecordExit(ExitCode);
  return ExitCode;
}

void TApplication::ProcessMessages() { DispatchPendingMessages(); }

void TApplication::Halt(int exitCode) {
  if (OnHalt) std::exchange(OnHalt, nullptr)();
  RecordExit(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}

void TApplication::ShowError(const char* text) {
  RecordRun({"failure: ", text});
  if (!QuietMode) ShowMessageBox(GetActiveWindow(), text, Title, MB_OK | MB_ICONERROR);
}

void TApplication::Fail(const char* text) {
  // Reporting may itself fail the same way (no memory for the record's line): then it ends
  // without a word rather than over and over.
  static bool failing = false;
  if (failing) ExitProcess(ExitLibraryFailure);
  failing = true;
  ShowError(text);
  if (OnFail) OnFail();
  Halt(ExitLibraryFailure);
}
