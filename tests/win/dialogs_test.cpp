// The window layer's boxes and its general error box, worked from a second thread while the
// test's own thread runs the modal loop, as a person would work them.
#include <gtest/gtest.h>

#include <thread>

#include "tests/win/text_fit.h"
#include "tools/driver/driver.h"
#include "transfer/copy_messages.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace {
struct Seen {
  std::string caption;
  std::vector<std::string> buttons;
  std::string message;
  std::string picture;  // the icon's name for a screen reader
  RECT label = {};
};

// Runs MessageDlg and answers it from another thread with the given action.
template <typename Answer>
int AnswerDialog(const std::string& text, DlgType type, unsigned buttons, Seen& seen, Answer answer) {
  std::thread user([&] {
    HWND dialog = WaitForWindow(GetCurrentProcessId(), "TMessageForm");
    if (!dialog) return;
    seen.caption = WindowText(dialog);
    seen.message = WindowText(FindControl(dialog, MessageForm::Message));
    GetClientRect(FindControl(dialog, MessageForm::Message), &seen.label);
    for (HWND child : Descendants(dialog))
      if (WindowClass(child) == "Button") seen.buttons.push_back(WindowText(child));
    seen.picture = WindowText(FindControl(dialog, MessageForm::Image));
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
  for (const Row& row : {Row{DlgType::Warning, "Warnung"}, Row{DlgType::Error, "Fehler"}, Row{DlgType::Information, "Information"},
                         Row{DlgType::Confirmation, "Bestätigen"}}) {
    Seen seen;
    const int result =
        AnswerDialog("Text\r\rZweite Zeile", row.type, mbYes | mbNo | mbOK | mbCancel, seen, [](HWND d) { Press(FindControl(d, "OK")); });
    EXPECT_EQ(seen.caption, row.caption);
    EXPECT_EQ(seen.message, "Text\r\rZweite Zeile");
    EXPECT_EQ(seen.picture, row.caption);
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
    EXPECT_EQ(
        AnswerDialog("Frage?", DlgType::Confirmation, mbYes | mbNo | mbCancel, seen, [&](HWND d) { Press(FindControl(d, row.button)); }),
        row.result);
  }
  Seen seen;
  EXPECT_EQ(AnswerDialog("Frage?", DlgType::Confirmation, mbYes | mbNo, seen, [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); }), 2)
      << "closed through the title bar";
  EXPECT_EQ(seen.buttons, (std::vector<std::string>{"&Ja", "&Nein"}));
}

// The message's every letter lies inside its label, the last one of a line too, at 96, 120
// and 144 pixels per inch; the dialog gives its label that size. The copy question's long
// lines are what a font drawing wider than it measures cuts first.
TEST(MessageDlg, TheWholeTextIsShown) {
  for (const std::string& text :
       std::vector<std::string>{"Das Programm wurde deinstalliert!", CopyQuestionText("C:\\Programme\\Adressen\\", "ADRESSEN.EXE"),
                                ExpandQuestionText("C:\\Dist\\", "ADRESSEN.HL_", "C:\\Programme\\Adressen\\", "ADRESSEN.HLP")}) {
    Seen seen;
    AnswerDialog(text, DlgType::Information, mbOK, seen, [](HWND d) { Press(FindControl(d, "OK")); });
    const SIZE box = MessageTextSize(text, ScreenPpi());
    EXPECT_EQ(seen.label.right, box.cx);
    EXPECT_EQ(seen.label.bottom, box.cy);
    for (const int ppi : {96, 120, 144}) {
      const SIZE scaled = MessageTextSize(text, ppi);
      HFONT font = MakeFont({"MS Shell Dlg", 10}, MulDiv(10, ppi, 96));
      const POINT ink = InkReach(font, text, scaled.cx, DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
      DeleteObject(font);
      EXPECT_LE(ink.x, scaled.cx) << text << " at " << ppi;
      EXPECT_LE(ink.y, scaled.cy) << text << " at " << ppi;
    }
  }
}

namespace {
// A form table, laid out as the program's own.
// clang-format off
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
// clang-format on
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
