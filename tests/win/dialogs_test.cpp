// The window layer's boxes and its general error box, worked from a second thread while the
// test's own thread runs the modal loop, as a person would work them.
#include <gtest/gtest.h>

#include <thread>

#include "tools/driver/driver.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace {
struct Seen {
  std::string caption;
  std::vector<std::string> buttons;
  std::string message;
  bool hasIcon = false;
};

BOOL CALLBACK CollectButtons(HWND hwnd, LPARAM param) {
  auto* seen = reinterpret_cast<Seen*>(param);
  if (WindowClass(hwnd) == "Button") seen->buttons.push_back(WindowText(hwnd));
  if (ControlName(hwnd) == MessageForm::Image) seen->hasIcon = SendMessageA(hwnd, STM_GETICON, 0, 0) != 0;
  return TRUE;
}

// Runs MessageDlg and answers it from another thread with the given action.
template <typename Answer>
int AnswerDialog(const std::string& text, DlgType type, unsigned buttons, Seen& seen, Answer answer) {
  std::thread user([&] {
    HWND dialog = WaitForWindow(GetCurrentProcessId(), "TMessageForm");
    if (!dialog) return;
    seen.caption = WindowText(dialog);
    seen.message = WindowText(FindControl(dialog, MessageForm::Message));
    EnumChildWindows(dialog, CollectButtons, reinterpret_cast<LPARAM>(&seen));
    answer(dialog);
  });
  const int result = MessageDlg(text, type, buttons);
  user.join();
  return result;
}
}  // namespace

TEST(MessageDlg, GermanCaptionsAndButtonsWhateverTheSystemLanguage) {
  struct Row {
    DlgType type;
    const char* caption;
  };
  for (const Row& row : {Row{DlgType::Warning, "Warnung"}, Row{DlgType::Error, "Fehler"},
                         Row{DlgType::Information, "Information"},
                         Row{DlgType::Confirmation, "Bestätigen"}}) {
    Seen seen;
    const int result = AnswerDialog("Text\r\rZweite Zeile", row.type, mbYes | mbNo | mbOK | mbCancel,
                                    seen, [](HWND d) { Press(FindControl(d, "OK")); });
    EXPECT_EQ(seen.caption, row.caption);
    EXPECT_EQ(seen.message, "Text\r\rZweite Zeile");
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Ja", "&Nein", "OK", "Abbrechen"}));
    EXPECT_EQ(result, 1);
  }
}

TEST(MessageDlg, EachAnswerHasItsResult) {
  struct Row {
    const char* button;
    int result;
  };
  for (const Row& row : {Row{"Yes", 6}, Row{"No", 7}, Row{"Cancel", 2}}) {
    Seen seen;
    EXPECT_EQ(AnswerDialog("Frage?", DlgType::Confirmation, mbYes | mbNo | mbCancel, seen,
                           [&](HWND d) { Press(FindControl(d, row.button)); }),
              row.result);
  }
  Seen seen;
  EXPECT_EQ(AnswerDialog("Frage?", DlgType::Confirmation, mbYes | mbNo, seen,
                         [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }),
            2)
      << "closed through the title bar";
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Ja", "&Nein"}));
}

namespace {
constexpr ControlDesc FailingControls[] = {
    {.name = "bnFail", .kind = ControlKind::Button, .left = 10, .top = 10, .width = 100,
     .height = 30, .text = "Fail"},
    {.name = "bnDone", .kind = ControlKind::Button, .left = 120, .top = 10, .width = 100,
     .height = 30, .text = "Done", .modalResult = mrOk},
    {.name = "edText", .kind = ControlKind::Edit, .left = 10, .top = 50, .width = 210,
     .height = 20, .text = "vorher"},
};
constexpr FormDesc FailingForm = {.className = "TFailingForm", .caption = "Test",
                                  .clientWidth = 240, .clientHeight = 80,
                                  .controls = FailingControls};
}  // namespace

TEST(ErrorBox, AFileThatCannotBeReadIsReportedAndTheFormGoesOn) {
  Form form(FailingForm);
  form.Create();
  form.OnClick("bnFail", [&] { form.SetTextFromFile("edText", "C:\\dist\\fehlt\\Vertrag.Txt", "C:\\dist\\fehlt\\Vertrag.Txt"); });
  std::string shown, title;
  std::thread user([&] {
    HWND own = WaitForWindow(GetCurrentProcessId(), "TFailingForm");
    Press(FindControl(own, "bnFail"));
    HWND box = WaitForWindow(GetCurrentProcessId(), "#32770");
    if (!box) return;
    shown = MessageBoxText(box);
    title = WindowText(box);
    PressDialogButton(box, "OK");
    WaitUntil([&] { return !IsWindow(box); });
    Press(FindControl(own, "bnDone"));
  });
  EXPECT_EQ(form.ShowModal(), mrOk);
  user.join();
  EXPECT_EQ(shown, "Kann Datei C:\\dist\\fehlt\\Vertrag.Txt nicht öffnen");
  EXPECT_EQ(title, Application.Title);
  EXPECT_EQ(form.Text("edText"), "vorher");
}
