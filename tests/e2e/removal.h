// What the removal scenarios share: the state of the machine before and after, and
// Uninstal.exe worked through its windows.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

// Where the example installs unattended.
inline const std::string InstallDir = "C:\\Programme\\Adressen";

// Every file and folder of drive C: with its size (the scenarios' own folders aside), and
// every key and value below the registrations of installed programs.
using Tree = std::map<std::string, unsigned long long>;
struct Snapshot {
  Tree files;
  std::set<std::string> keys;
};
Snapshot TakeSnapshot();
// What differs, one line each; the empty temporary file the removal leaves is allowed.
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after);

// The Windows version Wine reports to one program, or to SETUP.EXE and Uninstal.exe.
void ReportWindowsVersion(const std::string& program, const char* version);
void ReportWindowsVersions(const char* version);
void ForgetWindowsVersions();
// The folders a German Windows has, which the installation goes into.
void PrepareSystemFolders();

// SETUP.EXE /s on the example, to InstallDir; asserts success.
void InstallUnattended(const std::string& name);

// Uninstal.exe started from an installation, its window found.
struct Removal {
  Program program;
  HWND window = nullptr;
};
Removal StartUninstaller(const std::string& dir = InstallDir);
// "&Weiter >>", "&Ja" to the first question; the directory question is returned.
HWND ConfirmRemoval(const Removal& removal);
// The closing message answered; the program's exit code.
DWORD FinishRemoval(const Removal& removal);
// The whole removal of the installation in dir: "&Weiter >>", "&Ja", then "Ja, Dateien
// löschen !!" (deleteDirectory) or "Nein, Dateien nicht löschen", and the closing message;
// the exit code (99 when a window did not come).
DWORD RemoveInstallation(bool deleteDirectory, const std::string& dir = InstallDir);

// An uninstaller with a log of someone else's making, in dir.
void PlaceUninstaller(const std::string& dir, const std::string& log);
// A one-byte file.
void MakeFile(const std::string& path);
