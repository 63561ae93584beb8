// The install wizard driven page by page: navigation, licence, readme, the directory's checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "tests/win/text_fit.h"

using namespace AktionForm;

namespace {
struct State {
  const char *page, *caption;  // bnInstal's
  bool installEnabled, backEnabled, answers;
  const char* step;
};
constexpr State S0 = {"Welcome", "&Weiter ", true, false, false, "1. Begrüßung"};
constexpr State S0Back = {"Welcome", "&Weiter", true, false, false, "1. Begrüßung"};
constexpr State S1 = {"Info", "&Weiter ", true, true, false, "2. Information"};
constexpr State S1Back = {"Info", "&Weiter", true, true, false, "2. Information"};
constexpr State S2a = {"BGB", "&Weiter ", false, true, true, "3. Lizenzbedingungen"};
constexpr State S2aBack = {"BGB", "&Weiter", false, true, true, "3. Lizenzbedingungen"};
constexpr State S2b = {"BGB", "&Weiter", true, true, false, "3. Lizenzbedingungen"};
constexpr State S3 = {"Path", "&Fertig", true, true, false, "4. Installationsverzeichnis"};

struct Wizard {
  explicit Wizard(const std::string& name, unsigned files = Complete)
      : dist(ExampleDistribution(name, files)), program(dist.Start()), window(WaitForWindow(program.pid, "Tf_Aktion")) {}
  // Presses the button, then compares everything the state table says about the page.
  void Expect(const char* button, const State& state) {
    SCOPED_TRACE(std::string("after ") + button);
    if (*button) Press(FindControl(window, button));
    ASSERT_TRUE(WaitUntil([&] { return Shown(window) == state.page; }, 5000)) << "on " << Shown(window);
    HWND install = FindControl(window, bnInstal);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(install) == state.caption; }, 2000)) << WindowText(install);
    EXPECT_EQ(IsWindowEnabled(install) != FALSE, state.installEnabled);
    EXPECT_EQ(IsWindowEnabled(FindControl(window, bnBack)) != FALSE, state.backEnabled);
    for (const char* answer : {bnja, bnNein, Panel4})
      EXPECT_EQ(IsWindowVisible(FindControl(window, answer)) != FALSE, state.answers) << answer;
    EXPECT_TRUE(WaitUntil([&] { return HighlightedStep(program.pid) == state.step; }, 2000)) << HighlightedStep(program.pid);
  }
  std::string Path() const { return WindowText(FindControl(window, edPathName)); }
  Distribution dist;
  Program program;
  HWND window;
};
}  // namespace

// A distribution without its licence or readme: each is reported when it is wanted and the
// wizard goes on; no window is left showing a text of its own making.
TEST(Wizard, AMissingLicenceOrReadmeIsReportedAndTheWizardGoesOn) {
  PrepareMachine();
  Distribution dist = ExampleDistribution("no_texts", Complete & ~WithLicence & ~WithReadme);
  const std::string target = dist.Dir() + "Programm";
  Steps walk = WalkWizard(target);
  const Steps readme = {{"Tf_Aktion", bnInfo, "Info"}, {"#32770", "OK", "Liesmich.txt nicht"}, {"Tf_Aktion", "", "Info", [](HWND w) {
                                                                                                  DWORD pid = 0;
                                                                                                  GetWindowThreadProcessId(w, &pid);
                                                                                                  EXPECT_TRUE(WaitUntil([&] {
                                                                                                    for (HWND top : TopWindows(pid))
                                                                                                      if (ControlName(top) == "Tf_info")
                                                                                                        return false;
                                                                                                    return true;
                                                                                                  })) << "the readme window stays open";
                                                                                                }}};
  walk.insert(walk.begin() + 1, readme.begin(), readme.end());
  walk.insert(walk.begin(), {"#32770", "OK", "Vertrag.Txt nicht"});
  EXPECT_EQ(Perform(dist.Start(), walk + FinishSteps()), 0u);
}

TEST(Wizard, StateTableForwardAndBackward) {
  Wizard wizard("wizard_walk");
  ASSERT_TRUE(wizard.window);
  wizard.Expect("", S0);
  EXPECT_EQ(WindowText(FindControl(wizard.window, Label4)).find("<Prog>"), std::string::npos);
  EXPECT_NE(WindowText(FindControl(wizard.window, Label4)).find(" Adressen "), std::string::npos);
  Shoot(wizard.window, "wizard-1-welcome");
  wizard.Expect(bnInstal, S1);
  Shoot(wizard.window, "wizard-2-info");
  wizard.Expect(bnBack, S0Back);
  wizard.Expect(bnInstal, S1Back);
  wizard.Expect(bnInstal, S2aBack);
  EXPECT_TRUE(WindowText(FindControl(wizard.window, Memo1)).starts_with("Lizenzvertrag für Adressen"));
  Shoot(wizard.window, "wizard-3-licence");
  Press(FindControl(wizard.window, bnInstal));  // disabled while the licence is open
  wizard.Expect(bnBack, S1Back);
  wizard.Expect(bnInstal, S2aBack);
  wizard.Expect(bnja, S3);
  EXPECT_EQ(wizard.Path(), "C:\\Programme\\Adressen");
  Shoot(wizard.window, "wizard-4-directory");
  wizard.Expect(bnBack, S2b);
  wizard.Expect(bnInstal, S3);
  Press(FindControl(wizard.window, bnBack));
  wizard.Expect(bnBack, S1Back);
  wizard.Expect(bnInstal, S2b);  // the accepted licence is not asked again
  Press(FindControl(wizard.window, bnBack));
  wizard.Expect(bnBack, S0Back);
  EXPECT_EQ(Perform(wizard.program, {{"Tf_Aktion", bnEnd}}), 1u);
}

TEST(Wizard, NeinOnTheLicenceAndBeendenOnEveryPageEndTheProgram) {
  const char* buttons[] = {"", bnInstal, bnInstal, bnja};
  const State* states[] = {&S0, &S1, &S2a, &S3};
  struct Row {
    int pages;
    const char* button;
  };
  for (const Row& row : {Row{1, bnEnd}, Row{2, bnEnd}, Row{3, bnEnd}, Row{4, bnEnd}, Row{3, bnNein}}) {
    SCOPED_TRACE(std::to_string(row.pages) + row.button);
    Wizard wizard("wizard_end");
    for (int page = 0; page < row.pages; ++page) wizard.Expect(buttons[page], *states[page]);
    EXPECT_EQ(Perform(wizard.program, {{"Tf_Aktion", row.button}}), 1u);
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false)) << "registered without installing";
  }
}

TEST(Wizard, TheReadmeIsLoadedAtEachOpeningAndMissingTextsAreReported) {
  Wizard wizard("wizard_readme");
  wizard.Expect(bnInstal, S1);
  for (const std::string text : {"Adressen 1.0 - Liesmich\r\n", "Neu\r\nZweite Zeile"}) {
    Press(FindControl(wizard.window, bnInfo));
    HWND viewer = WaitForWindow(wizard.program.pid, "Tf_info");
    ASSERT_TRUE(viewer);
    EXPECT_EQ(WindowText(viewer), "Aktuelle Info - Liesmich.txt");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(FindControl(viewer, InfoForm::Memo1)).starts_with(text); }));
    Shoot(viewer, "dialog-readme");
    Perform(wizard.program, {{"Tf_info", InfoForm::bnGoOn}}, false);
    wizard.dist.AddFile("Liesmich.txt", "Neu\r\nZweite Zeile");  // a changed readme
  }
  wizard.Expect("", S1);
  Perform(wizard.program, {{"Tf_Aktion", bnEnd}});

  // Without readme and licence: each is reported by the general error box (the readme's
  // window closes with it), and the wizard goes on with an empty licence.
  Distribution dist = ExampleDistribution("wizard_missing", WithProgramFiles);
  Program program = dist.Start();
  const std::string missing = " nicht öffnen";
  EXPECT_EQ(Perform(program, {{"#32770", "OK", dist.Dir() + "Vertrag.Txt" + missing},
                              {"Tf_Aktion", bnInstal, "Welcome"},
                              {"Tf_Aktion", bnInfo, "Info"},
                              {"#32770", "OK", dist.Dir() + "Liesmich.txt" + missing},
                              {"Tf_Aktion", bnInstal, "Info"},
                              {"Tf_Aktion", bnja, "BGB", [](HWND w) { EXPECT_EQ(WindowText(FindControl(w, Memo1)), ""); }},
                              {"Tf_Aktion", bnEnd, "Path"}}),
            1u);
}

// What "Fertig" does with the directory given.
TEST(Wizard, TheDirectoryIsCheckedCreatedOrReplacedByAProposal) {
  const std::string profileProposal = GetProfilesDirectory() + "\\" + GetLogonUserName() + "\\Adressen";
  struct Row {
    const char* name;
    std::string path;  // in the distribution's folder unless a root
    bool makePath;
    Steps after;  // what follows "Fertig"
    DWORD exit;
    bool installed;
  };
  const Steps root = {{"#32770", "OK", "Hauptverzeichnis"}};
  const Steps end = {{"Tf_Aktion", bnEnd, "Path"}};
  const Steps again = {{"Tf_Aktion", bnInstal, "Path", [](HWND w) {
                          EXPECT_FALSE(DirectoryExists(WindowText(FindControl(w, edPathName)))) << "made without being asked";
                        }}};
  const Row rows[] = {
      {"root", "C:\\", true, root + Steps{{"Tf_Aktion", bnInstal, "Path"}} + root + end, 1, false},
      {"drive", "D:", true, root + end, 1, false},
      {"ticked", "Ziel\\Adressen", true, FinishSteps(), 0, true},
      {"asked", "Ziel\\Adressen", false,
       Steps{
           {"TMessageForm", "No", "existiert nicht", [](HWND w) { Shoot(w, "dialog-create-directory"); }},
       } + again +
           Steps{{"TMessageForm", "Yes", "existiert nicht"}} + FinishSteps(),
       0, true},
      {"unmakable", "Datei\\Adressen", true,
       Steps{{"TMessageForm", "OK", "\\Datei\\Adressen\" nicht erstellen", [](HWND w) { Shoot(w, "dialog-directory-warning"); }},
             {"Tf_Aktion", bnEnd, "Path", [&](HWND w) { EXPECT_EQ(WindowText(FindControl(w, edPathName)), profileProposal); }}},
       1, false},
      // Nothing made on the way to a name Windows refuses stays.
      {"piped", "Neu\\Ad|ressen", true, Steps{{"TMessageForm", "OK", "nicht erstellen"}} + end, 1, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Wizard wizard(std::string("wizard_") + row.name);
    wizard.dist.AddFile("Datei", "kein Verzeichnis");
    const std::string path = row.path.find(':') != std::string::npos ? row.path : wizard.dist.Dir() + row.path;
    Steps steps = WalkWizard(path);
    steps.back().act = [&](HWND w) {
      SetText(FindControl(w, edPathName), path);
      Tick(FindControl(w, cbMakePath), row.makePath);
    };
    EXPECT_EQ(Perform(wizard.program, steps + row.after), row.exit);
    EXPECT_EQ(FileExists(path + "\\ADRESSEN.EXE"), row.installed);
    EXPECT_FALSE(DirectoryExists(wizard.dist.Dir() + "Neu"));
  }
  EXPECT_FALSE(DirectoryExists(profileProposal)) << "the proposal is only tested at the next Fertig";
}

TEST(Wizard, FolderBrowserCancelLeavesTheDirectory) {
  Wizard wizard("wizard_browse");
  Steps steps = WalkWizard("C:\\Programme\\Adressen");
  steps.back().press = bnDir;
  HWND browser = nullptr;
  Perform(wizard.program, steps + Steps{{"#32770", "", "", [&](HWND w) { browser = w; }}}, false);
  ASSERT_TRUE(browser);
  Shoot(browser, "dialog-folder-browser");
  HWND cancel = DialogButton(browser, "Cancel");
  Press(cancel ? cancel : DialogButton(browser, "Abbrechen"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(browser); }));
  EXPECT_EQ(wizard.Path(), "C:\\Programme\\Adressen");
  EXPECT_EQ(Perform(wizard.program, {{"Tf_Aktion", bnEnd}}), 1u);
}

namespace {
// One key a person presses: in the window named (a form, "TMessageForm"), showing shows, the
// focus must be on the control named focus; then the key goes where the focus is.
struct KeyStep {
  std::string window, shows, focus;
  UINT key;            // a virtual key, or 0
  char altLetter = 0;  // else Alt and this letter
};

// The keys as the keyboard delivers them to the focused window, each window first shown to
// look: exit code, 99 when a window, or the focus in it, did not come.
DWORD PressKeys(
    const Program& program, const std::vector<KeyStep>& steps, const std::function<void(HWND)>& look = [](HWND) {}) {
  for (const KeyStep& step : steps) {
    SCOPED_TRACE(step.window + " " + step.shows);
    HWND window = nullptr, focus = nullptr;
    const bool ready = WaitUntil(
        [&] {
          window = nullptr;
          for (HWND w : TopWindows(program.pid))
            if (ControlName(w) == step.window && Shown(w).find(step.shows) != std::string::npos) window = w;
          focus = FocusOf(program.pid);
          // On the control named, never the window itself (the program may be a moment behind).
          return window && IsChild(window, focus) && ControlName(focus) == step.focus;
        },
        60000);
    if (!ready) {
      std::string screen;
      for (HWND w : TopWindows(program.pid)) screen += " [" + ControlName(w) + ": " + Shown(w) + "]";
      ADD_FAILURE() << "no focus on " << step.focus << " in " << step.window << " (" << (window ? "shown" : "not shown") << "), but on "
                    << ControlName(focus) << "; on the screen:" << screen;
      return 99;
    }
    look(window);
    const std::string before = Shown(window);
    PressKey(focus, step.key, step.altLetter);
    // The next page of this window, or the next window; after Tab, the next control.
    WaitUntil(
        [&] {
          return !IsWindowVisible(window) || Shown(window) != before || !IsChild(window, FocusOf(program.pid)) ||
                 (step.key == VK_TAB && FocusOf(program.pid) != focus);
        },
        60000);
  }
  DWORD code = 99;
  WaitForExit(program, 60000, code);
  return code;
}

// Every visible control lies inside the window, and every text of a described control shows
// whole in the room it has, with the font the program makes for it at ppi; the licence keeps
// the lines its file breaks it into.
void ExpectWhole(HWND window, int ppi) {
  const FormDesc* form = nullptr;
  for (const FormDesc* f : {&SetupFormDesc, &AktionFormDesc, &GroupFormDesc, &MoreFormDesc, &UninstalFormDesc, &AskFormDesc})
    if (ControlName(window) == f->className) form = f;
  RECT inside;
  GetClientRect(window, &inside);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inside), 2);
  for (HWND child : Descendants(window)) {
    if (!IsWindowVisible(child)) continue;
    const std::string name = ControlName(child), text = WindowText(child);
    RECT r, room, both;
    GetWindowRect(child, &r);
    GetClientRect(child, &room);
    EXPECT_TRUE(IntersectRect(&both, &r, &inside) && EqualRect(&both, &r)) << name << " reaches outside " << ControlName(window);
    for (const ControlDesc& c : form ? form->controls : std::span<const ControlDesc>{}) {
      if (name != c.name) continue;
      if (c.kind == ControlKind::Image) {
        EXPECT_NE(text, "") << name << " has no name for a screen reader";
      } else if (!text.empty() && c.kind != ControlKind::Edit && c.kind != ControlKind::Memo) {
        EXPECT_EQ(Misfit(*form, c, text.c_str(), {room.right, room.bottom}, ppi), "") << name << ": " << text;
        // The program runs at that scaling.
        if (c.kind == ControlKind::Button) {
          EXPECT_NEAR(r.bottom - r.top, MulDiv(c.height, ppi, form->designPpi), 1) << name;
        }
      }
    }
    if (name == Memo1) {
      EXPECT_EQ(SendMessageA(child, EM_GETLINECOUNT, 0, 0), std::count(text.begin(), text.end(), '\n') + 1);
    }
  }
}
}  // namespace

// Installed and removed with the keyboard alone: every window starts with the focus where a
// person goes on, Enter presses the default button, Alt and a letter the button it underlines,
// Escape "Beenden" and "Nein".
TEST(Keyboard, AnInstallationAndARemovalByKeysAlone) {
  using namespace AktionForm;
  PrepareMachine();
  Distribution dist = ExampleDistribution("keyboard");
  EXPECT_EQ(PressKeys(dist.Start(), {{"Tf_Aktion", "Welcome", bnInstal, VK_ESCAPE}}), 1u);
  // At each screen scaling (Wine reads LogPixels as each program starts), every window on the
  // way shows its texts whole.
  RegKey desktop = OpenRegistryKey(HKEY_CURRENT_USER, "Control Panel\\Desktop", true);
  for (const int ppi : {96, 120, 144}) {
    SCOPED_TRACE(ppi);
    WriteRegistryDword(desktop, "LogPixels", static_cast<DWORD>(ppi));
    // Each window, and the start window beneath it.
    const auto look = [ppi](HWND window) {
      for (HWND w : {window, GetWindow(window, GW_OWNER)})
        if (w) ExpectWhole(w, ppi);
    };
    std::vector<KeyStep> steps = {
        {"Tf_Aktion", "Welcome", bnInstal, VK_RETURN}, {"Tf_Aktion", "Info", bnInstal, 0, 'w'}, {"Tf_Aktion", "BGB", bnja, VK_RETURN}};
    // Tab goes round the directory page in the designed order.
    for (const char* control : {edPathName, bnDir, cbMakePath, bnInstal, bnBack, bnEnd})
      steps.push_back({"Tf_Aktion", "Path", control, VK_TAB});
    steps.insert(steps.end(), {{"Tf_Aktion", "Path", edPathName, VK_RETURN},
                               {"Tf_Group", "", GroupForm::BitBtn1, VK_RETURN},
                               {"Tf_more", "", MoreForm::BitBtn1, 0, 'o'},
                               {"TMessageForm", "ordnungsgem", MessageForm::Yes, VK_ESCAPE}});
    EXPECT_EQ(PressKeys(dist.Start(), steps, look), 0u);
    EXPECT_TRUE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
    EXPECT_EQ(PressKeys(StartProgram(InstallDir + "\\Uninstal.exe", ""),
                        {{"Tf_Uninstal", "", UninstalForm::Button1, VK_RETURN},
                         {"TMessageForm", "Sind Sie sicher", MessageForm::Yes, 0, 'j'},
                         {"Tf_Ask", "", AskForm::lbFiles, VK_RETURN},  // the list, as designed
                         {"TMessageForm", "deinstalliert", MessageForm::OK, VK_RETURN}},
                        look),
              0u);
    EXPECT_TRUE(WaitUntil([] { return !DirectoryExists(InstallDir); }, 20000));
  }
  RegDeleteValueA(desktop.Get(), "LogPixels");
}
