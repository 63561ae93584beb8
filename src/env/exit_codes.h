// Exit status of SETUP.EXE and the uninstaller, so that a script can tell the outcome.
#pragma once

enum ExitCode {
  ExitCompleted = 0,         // completed without error
  ExitByUser = 1,            // ended by the user
  ExitNoControlFile = 2,     // Setup.lst or install1.log missing
  ExitFilesFailed = 3,       // completed, but at least one file could not be installed
  ExitLibraryFailure = 4,    // a library failure ended the run
  ExitDirectoryFailed = 5,   // quiet mode: the installation directory cannot be created or written
  ExitNewerInstalled = 6,    // unattended: a newer version is installed; nothing was changed
  ExitOtherProgram = 7,      // the directory holds another program's installation; nothing was changed
  ExitShortcutsMissing = 8,  // installed, but a group folder or shortcut could not be made (the record names it)
  ExitAlreadyRunning = 9,    // another run for the same program is at work; nothing was changed
  ExitRestartNeeded = 3010,  // completed; a file in use is replaced (or deleted) at the next restart
};
