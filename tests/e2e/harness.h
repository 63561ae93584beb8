// What the scenarios share: the example distribution, a person's steps through the program's
// windows, and the state of the machine before and after.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "env/install_names.h"
#include "forms/forms.h"
#include "tools/driver/driver.h"
#include "ui/dialogs.h"

// A distribution folder made fresh for one scenario.
class Distribution {
 public:
  // <parent><name>\, emptied first.
  explicit Distribution(const std::string& name, const std::string& parent = "C:\\e2e\\");
  const std::string& Dir() const { return dir_; }  // ends in "\"
  // The SETUP.EXE of this build, under the given file name.
  void AddSetupExe(const std::string& fileName = "SETUP.EXE") const;
  // A file of the example distribution (examples/).
  void AddExample(const std::string& name) const;
  void AddFile(const std::string& name, const std::string& content) const;
  // A file in the distribution's compressed form: content compressed under name (".EX_").
  void AddCompressed(const std::string& name, const std::string& content) const;
  // SETUP.EXE, the example's readme and licence, and the setup script.
  void AddProgram(const std::string& script) const;
  Program Start(const std::string& fileName = "SETUP.EXE", const std::string& arguments = "") const;
  // Every file of another distribution, copied here.
  void CopyFrom(const Distribution& other) const;

 private:
  std::string dir_;
};

// Where the scenario's pictures go (BMP; the test script turns them into PNG).
void SaveScreenshot(const Screenshot& shot, const std::string& name);

// The example's registration, and where it installs unattended.
inline const std::string AdressenKey = UninstallKeyOf("Adressen");
inline const std::string InstallDir = "C:\\Programme\\Adressen";

// Which of the example's files a distribution gets.
enum ExampleFiles : unsigned { WithReadme = 1, WithLicence = 2, WithProgramFiles = 4, Complete = 7 };
// The content of an installed file: the built ADRESSEN.EXE and ADRHELP.DLL, examples/
// ADRESSEN.HLP and beispiel.hdb; a generated text of about lines lines for any other name.
std::string ExampleContent(const std::string& installedName, int lines = 200);
// C:\e2e\<name>\ with SETUP.EXE and the example's files; an earlier registration removed,
// so that the script's own directory is proposed.
Distribution ExampleDistribution(const std::string& name, unsigned files = Complete);

// The checksums of every file of the distribution, in its script.
void AddChecksums(const Distribution& dist);
// The example with its checksums, bundled as one program "Adressen-1.0-Setup.exe" in download.
std::string MakeBundle(const std::string& name, Distribution& download);

// One thing a person does: waits for a window of the program (a form by its designed name,
// "#32770" for a system message box) whose text holds shows (for the wizard: the page on
// show), does act, then presses press (a control's name; in a system box, its caption).
struct Step {
  std::string window, press, shows = "";
  std::function<void(HWND)> act = nullptr;
};
using Steps = std::vector<Step>;
Steps operator+(Steps first, const Steps& second);
// Works through the steps, then (untilExit) waits for the end: the exit code; 99 when a
// window or the end did not come, 0 when all is done short of the end.
DWORD Perform(const Program& program, const Steps& steps, bool untilExit = true);
// The wizard from its welcome page to "Fertig" with the directory set to target.
Steps WalkWizard(const std::string& target);
// What follows the copying: the user selection and the options with their buttons, and
// "Nein" (or "Ja": start) to the closing question.
Steps FinishSteps(bool start = false, std::function<void(HWND)> group = nullptr, std::function<void(HWND)> options = nullptr);
// A shortcut file there, to target, in workingDir, described by its own name.
void ExpectLink(const std::string& linkFile, const std::string& target, const std::string& workingDir);
// The text a window shows: a page name, a dialog's or a box's message, else its caption.
std::string Shown(HWND window);
// The start window of a running program (it may be hidden), and its highlighted step.
HWND StartWindow(DWORD pid);
std::string HighlightedStep(DWORD pid);
void SetText(HWND control, const std::string& text);
// A list box's lines, each in lower case (ASCII letters).
std::vector<std::string> ListBoxLines(HWND list);
void Tick(HWND box, bool ticked);
// Saves a picture of the window under the name once it has painted.
void Shoot(HWND window, const std::string& name);

// Every file and folder of drive C: with its size (the scenarios' own folders aside), and
// every key and value below the registrations of installed programs.
struct Snapshot {
  std::map<std::string, unsigned long long> files;
  std::set<std::string> keys;
};
Snapshot TakeSnapshot();
// What differs, one line each ("new: ", "gone: ", "changed: ", "new key: ", "gone key: ");
// the empty temporary file a removal leaves is allowed.
std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after);
// Fails with every difference from before, once they have had time to settle.
void ExpectUnchanged(const Snapshot& before, DWORD settleMs = 10000);

// The Windows version Wine reports to SETUP.EXE and Uninstal.exe; nullptr: Wine's own.
void ReportWindowsVersion(const char* version);
// Where the system counts the users of shared libraries.
inline constexpr char SharedLibrariesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
// The German folders the installation goes into; the shortcuts, the installation and the
// example's library (with its count of users) earlier runs left, gone.
void PrepareMachine();
// SETUP.EXE /s on the example to InstallDir: the wizard walks itself off the screen, the
// start window hidden; asserts success.
void InstallUnattended(const std::string& name);
// Uninstal.exe in dir worked through: "&Weiter >>", "&Ja", then the directory question
// answered (deleteDirectory: "Ja, Dateien löschen !!") when it comes, and the closing message.
Steps RemovalSteps(bool deleteDirectory, bool directoryQuestion = true);
DWORD RemoveInstallation(bool deleteDirectory, const std::string& dir = InstallDir);
// Runs exe with the arguments to its end, looking at every moment for a visible window of
// the process: the exit code (99: it did not end within timeoutMs).
DWORD RunQuietly(const std::string& exe, const std::string& arguments, DWORD timeoutMs = 60000);
// A value of the example's registration: its type and text (a number in decimal); type 0
// when it is absent.
std::pair<DWORD, std::string> RegistrationValue(const std::string& name, const std::string& registration = AdressenKey);
// The folder the installation in dir made its group in: in the profile its log names, else
// in the user's own programs folder.
// Where the shortcuts of a profile chosen in the user selection belong (empty: none chosen): the
// shell's own for the running user, its common ones for the all-users profile, the German XP
// folders of another profile.
struct ShortcutPlaces {
  std::string programs, startMenu, desktop;
};
ShortcutPlaces ShortcutPlacesOf(const std::string& profile);
std::string GroupFolderOf(const std::string& dir, const std::string& group = "Adressen");
// The registered quiet removal, run through cmd /c as a deployment tool runs it.
DWORD RemoveQuietly(const std::string& registration = AdressenKey);
// Runs Wine's restart: the renames the system was asked to do happen now.
void Restart();
