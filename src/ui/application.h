// The application object: title, main form, message loop, ending and the general error box.
#pragma once
#include <exception>
#include <string>

class Form;

class TApplication {
 public:
  std::string Title = "Setup";
  Form* MainForm = nullptr;  // its closing ends the message loop
  bool ShowMainForm = true;
  int ExitCode = 0;  // what Run returns when the main form has closed

  // Runs the message loop until the main form is closed; returns the exit code.
  int Run();
  // Handles every waiting message and returns.
  void ProcessMessages();
  // Ends the process at once; nothing done so far is undone.
  [[noreturn]] void Halt(int exitCode);
  // The general error box: the failure's message, title "Setup", one OK button.
  void ShowException(const std::exception& error);
  // Call inside a catch block: shows what was caught. Used at every handler's boundary.
  void HandleException();

 private:
  void ShowError(const char* text);
};

extern TApplication Application;
