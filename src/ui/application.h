// The application object: title, main form, message loop, ending and the general error box.
#pragma once
#include <functional>
#include <string>

class Form;

class TApplication {
 public:
  std::string Title = "Setup";
  Form* MainForm = nullptr;  // its closing ends the message loop
  bool ShowMainForm = true;
  int ExitCode = 0;  // what Run returns when the main form has closed
  // Runs when Fail ends the program: a quiet installation puts back what it changed.
  std::function<void()> OnFail;
  // Runs when Halt ends the program, after OnFail.
  std::function<void()> OnHalt;

  // Runs the message loop until the main form is closed; returns the exit code.
  int Run();
  // Handles every waiting message and returns.
  void ProcessMessages();
  // Ends the process at once; nothing done so far is undone.
  [[noreturn]] void Halt(int exitCode);
  // The general error box, for a failure in a library operation: its message, title "Setup",
  // one OK button. Quiet, nobody could read it: it goes into the run record only.
  void ShowError(const char* text);
  void ShowError(const std::string& text) { ShowError(text.c_str()); }
  // A failure nothing can go on from (the program's own fault, no memory left): the error
  // box, then the end with status 4.
  [[noreturn]] void Fail(const char* text);
  [[noreturn]] void Fail(const std::string& text) { Fail(text.c_str()); }
};

extern TApplication Application;
