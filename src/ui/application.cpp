#include "ui/application.h"

#include <windows.h>

#include "env/messages.h"
#include "ui/form.h"

TApplication Application;

int TApplication::Run() {
  if (MainForm && ShowMainForm) MainForm->Show();
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchOneMessage(msg);
  return ExitCode;
}

void TApplication::ProcessMessages() { DispatchPendingMessages(); }

void TApplication::Halt(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

void TApplication::ShowException(const std::exception& error) {
  MessageBoxA(GetActiveWindow(), error.what(), Title.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException() {
  try {
    throw;
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    MessageBoxA(GetActiveWindow(), "Unbekannter Fehler", Title.c_str(), MB_OK | MB_ICONERROR);
  }
}
