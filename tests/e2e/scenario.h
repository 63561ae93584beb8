// Steps that many scenarios share: starting the example, ending the program, reading the
// wizard's state.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/distribution.h"

// Presses the button, and checks that the program then ends with the expected code.
void PressAndExpectExit(const Program& program, HWND button, DWORD expected);
// Ends the program through the named button of window, and checks its exit code.
void EndWith(const Program& program, HWND window, const std::string& button, DWORD expected);
// Answers a system message box with OK, and checks the exit code that follows.
void OkAndExpectExit(const Program& program, HWND box, DWORD expected);

// The example's uninstall registration under HKEY_LOCAL_MACHINE.
inline constexpr char AdressenKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adressen";

// The example distribution beside SETUP.EXE, started, waited for up to its wizard. An earlier
// scenario's registration is removed first, so the script's own directory is proposed.
struct Example {
  explicit Example(const std::string& name) : dist(name) {}
  Distribution dist;
  Program program;
  HWND wizard = nullptr;
};
enum ExampleFiles : unsigned {
  ScriptOnly = 0, WithReadme = 1, WithLicence = 2, AllTexts = 3,
  WithProgramFiles = 4, Complete = 7  // the files Setup.lst names, compressed
};
// The contents of the example's files in a scenario: the built ADRESSEN.EXE and ADRHELP.DLL,
// examples/ADRESSEN.HLP and beispiel.hdb; a generated text for any other name.
std::string ExampleContent(const std::string& installedName);
Example StartExample(const std::string& name, const std::string& arguments = "",
                     unsigned files = Complete);
// Starts SETUP.EXE of a distribution the scenario filled itself, and waits for its wizard.
void Launch(Example& example, const std::string& arguments = "");
// Walks the started example to the directory page, accepting the licence, points it at
// dist\Programm and presses "&Fertig"; gives that directory.
std::string InstallExample(Example& example);
// Saves a picture of the window under the name, once it has painted.
void Shoot(HWND window, const std::string& name);

// What a person answers after the copying; the defaults keep the preselected user, tick
// nothing in the options dialog and answer "Nein" to the start of the program.
struct Choices {
  int user = -1;              // index in the user selection
  bool desktop = false, startMenu = false;
  bool closeOptions = false;  // the options dialog closed by its title bar instead of "&Ok"
  bool start = false;         // "Ja" to the final question
};
// Answers what an attended installation asks after the copying and checks the exit status.
void FinishAttendedInstall(Example& example, DWORD expectedExit, const Choices& choices = {});

// The start window of a running program (it may be hidden).
HWND StartWindow(DWORD pid);
// The wizard's page on show ("Welcome", "Info", "BGB", "Path", "CopyInfo"); empty if none.
std::string ActivePage(HWND wizard);
// The text of the start window's highlighted step.
std::string HighlightedStep(DWORD pid);
// Waits for one of our typed dialogs ("Warnung", "Bestätigen" ...) and returns it.
HWND WaitForDialog(DWORD pid, DWORD timeoutMs = 10000);
// The text a typed dialog shows.
std::string DialogText(HWND dialog);
// Presses a typed dialog's button ("Yes", "No", "OK", "Cancel") and waits until it is gone.
void Answer(HWND dialog, const std::string& button);
