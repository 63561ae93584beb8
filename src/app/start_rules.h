// The start window's decisions, kept free of Win32 so that they can be tested anywhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Setup mode when the executable's file name is SETUP.EXE in any letter case.
bool IsSetupMode(const std::string& exeFileName);
// What the command line asks for.
struct StartRequest {
  bool silent = false, quiet = false;
  std::string directory;  // "/D=path": the installation directory; empty: none given
  std::string logFile;    // "/LOG=file": where the run's record goes; empty: none
};
// The arguments of a command line as the C runtime of Windows splits it, the program's own
// name left out: blanks and tabs part them; quotes group (a doubled one inside quotes is
// one quote); backslashes are plain unless they stand before a quote, where each pair is
// one backslash and an odd one makes the quote plain. The name ends right after its closing
// quote, or unquoted at the first blank, backslashes and all.
std::vector<std::string> CommandLineArguments(const std::string& commandLine);
// The program's arguments (its own name left out). Unattended when the first is "/s" in any
// case, or Shift and Ctrl are both held; quiet (and unattended) when it is "/q". "/D=" and
// "/LOG=" may stand anywhere. A path with blanks comes as one quoted argument, or, as many
// deployment tools write it, unquoted: the words after it that are no switch belong to it.
StartRequest ParseStartRequest(const std::vector<std::string>& arguments, bool shiftDown, bool ctrlDown);
// Blends two colour references byte by byte: ((steps - step) * from + step * to) / steps.
uint32_t BlendColor(uint32_t from, uint32_t to, int step, int steps);
// The installation directory named by an uninstall command, which may stand in quotes:
// its directory part without the trailing "\"; empty when it names none.
std::string PreviousInstallDir(const std::string& uninstallString);
// The message for a missing Setup.lst or install1.log.
std::string MissingControlFileText(const std::string& controlFile, const std::string& appDir);
// The name of the lock every run for one program takes, installer and uninstaller alike: made
// from its registration key (the same key in any letter case gives the same name), without
// the namespace, no backslash in it, at most 100 characters.
std::string RunLockName(const std::string& registrationKey);
// The message when the record "/LOG=" asks for cannot be made.
std::string RecordFailedText(const std::string& path);
// The message of a run that finds another run for the same program at work.
std::string AlreadyRunningText(const std::string& programName);
// The script's registration key is no name the registry takes.
std::string BadRegistrationNameText(const std::string& name);
