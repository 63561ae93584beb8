// The install wizard driven page by page: navigation, licence, readme, directory checks.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "env/file_system.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/scenario.h"

namespace {
struct State {
  const char* page;
  const char* caption;  // bnInstal's
  bool installEnabled;
  bool backEnabled;
  bool answers;
  const char* step;
};
constexpr State S0 = {"Welcome", "&Weiter ", true, false, false, "1. Begrüßung"};
constexpr State S1 = {"Info", "&Weiter ", true, true, false, "2. Information"};
constexpr State S1Back = {"Info", "&Weiter", true, true, false, "2. Information"};
constexpr State S2a = {"BGB", "&Weiter ", false, true, true, "3. Lizenzbedingungen"};
constexpr State S2aBack = {"BGB", "&Weiter", false, true, true, "3. Lizenzbedingungen"};
constexpr State S2b = {"BGB", "&Weiter", true, true, false, "3. Lizenzbedingungen"};
constexpr State S3 = {"Path", "&Fertig", true, true, false, "4. Installationsverzeichnis"};
constexpr State S0Back = {"Welcome", "&Weiter", true, false, false, "1. Begrüßung"};

// Waits for the page, then compares everything the state table says about it.
void ExpectState(const Example& example, const State& state, const char* after) {
  SCOPED_TRACE(std::string("after ") + after);
  HWND wizard = example.wizard;
  ASSERT_TRUE(WaitUntil([&] { return ActivePage(wizard) == state.page; }, 5000))
      << "page " << ActivePage(wizard) << " instead of " << state.page;
  HWND install = FindControl(wizard, "bnInstal");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(install) == state.caption; }, 2000))
      << "bnInstal reads \"" << WindowText(install) << "\"";
  EXPECT_EQ(IsWindowEnabled(install) != FALSE, state.installEnabled);
  EXPECT_EQ(IsWindowEnabled(FindControl(wizard, "bnBack")) != FALSE, state.backEnabled);
  for (const char* answer : {"bnja", "bnNein", "Panel4"})
    EXPECT_EQ(IsWindowVisible(FindControl(wizard, answer)) != FALSE, state.answers) << answer;
  EXPECT_TRUE(WaitUntil([&] { return HighlightedStep(example.program.pid) == state.step; }, 2000))
      << "highlighted step " << HighlightedStep(example.program.pid);
}

void Click(const Example& example, const char* button) {
  Press(FindControl(example.wizard, button));
}

// Forward to the directory page, accepting the licence.
void WalkToPath(const Example& example) {
  Click(example, "bnInstal");
  ExpectState(example, S1, "Weiter");
  Click(example, "bnInstal");
  ExpectState(example, S2a, "Weiter");
  Click(example, "bnja");
  ExpectState(example, S3, "Ja");
}

void SetPath(const Example& example, const std::string& path) {
  SendMessageA(FindControl(example.wizard, "edPathName"), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(path.c_str()));
}

std::string PathText(const Example& example) {
  return WindowText(FindControl(example.wizard, "edPathName"));
}

void SetMakePath(const Example& example, bool checked) {
  SendMessageA(FindControl(example.wizard, "cbMakePath"), BM_SETCHECK,
               checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

// Fertig on the directory page; the system box that follows, if any.
HWND Finish(const Example& example) {
  Click(example, "bnInstal");
  return WaitForWindow(example.program.pid, "#32770", 5000);
}

// The run reached the copy page and installed into directory; the rest is answered.
void ExpectInstalledInto(Example& example, const std::string& directory) {
  ASSERT_TRUE(WaitUntil([&] { return ActivePage(example.wizard) == "CopyInfo"; }));
  FinishAttendedInstall(example, 0);
  EXPECT_TRUE(FileExists(directory + "\\ADRESSEN.EXE"));
  EXPECT_TRUE(FileExists(directory + "\\Uninstal.exe"));
}
}  // namespace

TEST(Wizard, StateTableForwardAndBackward) {
  Example example = StartExample("wizard_walk");
  ASSERT_TRUE(example.wizard);
  ExpectState(example, S0, "start");
  EXPECT_EQ(WindowText(FindControl(example.wizard, "Label4")),
            "Dieses Installationsprogramm richtet Adressen auf Ihren Computer ein. Bei Bedarf "
            "können Sie es wieder vollständig entfernen (unter Start, Einstellungen, "
            "Systemsteuerung, Software).");
  Shoot(example.wizard, "wizard-1-welcome");
  Click(example, "bnInstal");
  ExpectState(example, S1, "Weiter on Welcome");
  Shoot(example.wizard, "wizard-2-info");
  Click(example, "bnBack");
  ExpectState(example, S0Back, "Zurück on Info");
  Click(example, "bnInstal");
  ExpectState(example, S1Back, "Weiter on Welcome again");
  Click(example, "bnInstal");
  ExpectState(example, S2aBack, "Weiter on Info");
  const std::string licence = WindowText(FindControl(example.wizard, "Memo1"));
  EXPECT_EQ(licence.rfind("Lizenzvertrag für Adressen 1.0\r\n", 0), 0u) << licence.substr(0, 60);
  Shoot(example.wizard, "wizard-3-licence");
  Click(example, "bnInstal");  // disabled while the licence is open
  Click(example, "bnBack");
  ExpectState(example, S1Back, "Zurück on the open licence");
  Click(example, "bnInstal");
  ExpectState(example, S2aBack, "Weiter on Info, licence still open");
  Click(example, "bnja");
  ExpectState(example, S3, "Ja");
  EXPECT_EQ(PathText(example), "C:\\Programme\\Adressen");
  Shoot(example.wizard, "wizard-4-directory");
  Click(example, "bnBack");
  ExpectState(example, S2b, "Zurück on Path");
  Click(example, "bnInstal");
  ExpectState(example, S3, "Weiter on the accepted licence");
  Click(example, "bnBack");
  Click(example, "bnBack");
  ExpectState(example, S1Back, "Zurück twice");
  Click(example, "bnInstal");
  ExpectState(example, S2b, "Weiter to the accepted licence: no question again");
  Click(example, "bnBack");
  Click(example, "bnBack");
  ExpectState(example, S0Back, "back to the start");
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Wizard, NeinOnTheLicenceAndBeendenOnEveryPageEndTheProgram) {
  {
    Example example = StartExample("wizard_nein");
    Click(example, "bnInstal");
    Click(example, "bnInstal");
    ExpectState(example, S2a, "Weiter twice");
    EndWith(example.program, example.wizard, "bnNein", 1);
  }
  for (int forward = 0; forward <= 3; ++forward) {
    SCOPED_TRACE(forward);
    Example example = StartExample("wizard_end");
    const State* states[] = {&S0, &S1, &S2a, &S3};
    const char* buttons[] = {"", "bnInstal", "bnInstal", "bnja"};
    for (int step = 1; step <= forward; ++step) {
      Click(example, buttons[step]);
      ExpectState(example, *states[step], buttons[step]);
    }
    EndWith(example.program, example.wizard, "bnEnd", 1);
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false))
        << "a run that ends before installing leaves no registration behind";
  }
}

TEST(Wizard, ReadmeViewerLoadsLiesmichAtEachOpening) {
  Example example = StartExample("wizard_readme");
  Click(example, "bnInstal");
  ExpectState(example, S1, "Weiter");
  Click(example, "bnInfo");
  HWND viewer = WaitForWindow(example.program.pid, "Tf_info");
  ASSERT_TRUE(viewer);
  EXPECT_EQ(WindowText(viewer), "Aktuelle Info - Liesmich.txt");
  HWND memo = FindControl(viewer, "Memo1");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(memo).rfind("Adressen 1.0 - Liesmich\r\n", 0) == 0; }))
      << WindowText(memo).substr(0, 40);
  Shoot(viewer, "dialog-readme");
  Press(FindControl(viewer, "bnGoOn"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }));

  // A changed readme is shown at the next opening.
  example.dist.AddFile("Liesmich.txt", "Neu\r\nZweite Zeile");
  Click(example, "bnInfo");
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(viewer) != FALSE; }));
  EXPECT_TRUE(WaitUntil([&] { return WindowText(memo) == "Neu\r\nZweite Zeile"; }))
      << WindowText(memo).substr(0, 40);
  Press(FindControl(viewer, "bnGoOn"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }));
  ExpectState(example, S1, "closing the viewer");
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Wizard, MissingReadmeAndLicenceAreReportedAndTheWizardGoesOn) {
  Example example = StartExample("wizard_missing", "", WithProgramFiles);
  // The licence is read while the wizard is made: the general error box comes first.
  HWND box = WaitForWindow(example.program.pid, "#32770");
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), "Kann Datei " + example.dist.Dir() + "Vertrag.Txt nicht öffnen");
  PressDialogButton(box, "OK");
  example.wizard = WaitForWindow(example.program.pid, "Tf_Aktion");
  ASSERT_TRUE(example.wizard);
  Click(example, "bnInstal");
  ExpectState(example, S1, "Weiter");
  Click(example, "bnInfo");
  box = WaitForWindow(example.program.pid, "#32770");
  ASSERT_TRUE(box);
  EXPECT_EQ(MessageBoxText(box), "Kann Datei " + example.dist.Dir() + "Liesmich.txt nicht öffnen");
  PressDialogButton(box, "OK");
  HWND viewer = WaitForWindow(example.program.pid, "Tf_info");
  ASSERT_TRUE(viewer);
  EXPECT_EQ(WindowText(FindControl(viewer, "Memo1")), "Memo1");
  Press(FindControl(viewer, "bnGoOn"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(viewer); }));
  Click(example, "bnInstal");
  ExpectState(example, S2a, "Weiter to the empty licence");
  EXPECT_EQ(WindowText(FindControl(example.wizard, "Memo1")), "");
  Click(example, "bnja");
  ExpectState(example, S3, "accepting the empty licence");
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Wizard, DriveRootsAreRefused) {
  Example example = StartExample("wizard_root");
  WalkToPath(example);
  for (const char* root : {"C:\\", "D:", "C"}) {
    SCOPED_TRACE(root);
    SetPath(example, root);
    HWND box = Finish(example);
    ASSERT_TRUE(box);
    EXPECT_EQ(MessageBoxText(box),
              "Das Programm kann nicht in einem Hauptverzeichnis installiert werden. Geben Sie "
              "bitte einen Namen für ein Unterverzeichnis an!");
    PressDialogButton(box, "OK");
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    EXPECT_EQ(ActivePage(example.wizard), "Path");
    EXPECT_EQ(PathText(example), root);
  }
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Wizard, AMissingDirectoryIsCreatedAtOnceWhenTicked) {
  Example example = StartExample("wizard_create");
  const std::string target = example.dist.Dir() + "Ziel\\Adressen";
  WalkToPath(example);
  SetPath(example, target);
  Click(example, "bnInstal");
  ExpectInstalledInto(example, target);
}

TEST(Wizard, AMissingDirectoryIsAskedForWhenNotTicked) {
  Example example = StartExample("wizard_ask");
  const std::string target = example.dist.Dir() + "Ziel\\Adressen";
  WalkToPath(example);
  SetMakePath(example, false);
  SetPath(example, target);
  Click(example, "bnInstal");
  HWND question = WaitForDialog(example.program.pid);
  ASSERT_TRUE(question);
  EXPECT_EQ(WindowText(question), "Bestätigen");
  EXPECT_EQ(DialogText(question), "Verzeichnis existiert nicht!\r\n\r\nErstellen?");
  EXPECT_EQ(WindowText(FindControl(question, "Yes")), "&Ja");
  EXPECT_EQ(WindowText(FindControl(question, "No")), "&Nein");
  Shoot(question, "dialog-create-directory");
  Answer(question, "No");
  EXPECT_EQ(ActivePage(example.wizard), "Path");
  EXPECT_FALSE(DirectoryExists(example.dist.Dir() + "Ziel")) << "Nein created something";

  Click(example, "bnInstal");
  question = WaitForDialog(example.program.pid);
  ASSERT_TRUE(question);
  Answer(question, "Yes");
  ExpectInstalledInto(example, target);
}

TEST(Wizard, ADirectoryThatCannotBeMadeGetsTheWarningAndTheProfileProposal) {
  Example example = StartExample("wizard_warn");
  example.dist.AddFile("Datei", "kein Verzeichnis");
  const std::string target = example.dist.Dir() + "Datei\\Adressen";
  WalkToPath(example);
  SetPath(example, target);
  Click(example, "bnInstal");
  HWND warning = WaitForDialog(example.program.pid);
  ASSERT_TRUE(warning);
  EXPECT_EQ(WindowText(warning), "Warnung");
  const std::string text = DialogText(warning);
  EXPECT_EQ(text.rfind("Konnte Verzeichnis \"" + target + "\" nicht erstellen oder in das "
                       "Verzeichnis kann nicht kopiert werden!\r\n\r\n", 0), 0u) << text;
  EXPECT_EQ(text.find("Administrator"), std::string::npos) << "Wine runs as an administrator";
  Shoot(warning, "dialog-directory-warning");
  Answer(warning, "OK");
  const std::string proposal =
      GetProfilesDirectory() + "\\" + GetLogonUserName() + "\\Adressen";
  EXPECT_EQ(PathText(example), proposal);
  EXPECT_EQ(ActivePage(example.wizard), "Path");
  EXPECT_FALSE(DirectoryExists(proposal)) << "the proposal is only tested at the next Fertig";
  EndWith(example.program, example.wizard, "bnEnd", 1);
}

TEST(Wizard, FolderBrowserCancelLeavesTheDirectory) {
  Example example = StartExample("wizard_browse");
  WalkToPath(example);
  Click(example, "bnDir");
  HWND browser = WaitForWindow(example.program.pid, "#32770");
  ASSERT_TRUE(browser);
  Shoot(browser, "dialog-folder-browser");
  HWND cancel = DialogButton(browser, "Cancel");
  if (!cancel) cancel = DialogButton(browser, "Abbrechen");
  ASSERT_TRUE(cancel);
  Press(cancel);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
  EXPECT_EQ(PathText(example), "C:\\Programme\\Adressen");
  EndWith(example.program, example.wizard, "bnEnd", 1);
}
