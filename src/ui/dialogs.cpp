#include "ui/dialogs.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "env/handles.h"
#include "env/paths.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "env/system_names.h"
#include "ui/system_window.h"

namespace {
struct ButtonInfo {
  DlgButtons flag;
  const char* name;
  const char* caption;
  ModalResult result;
};
constexpr ButtonInfo Buttons[] = {{mbYes, MessageForm::Yes, "&Ja", mrYes},
                                  {mbNo, MessageForm::No, "&Nein", mrNo},
                                  {mbOK, MessageForm::OK, "OK", mrOk},
                                  {mbCancel, MessageForm::Cancel, "Abbrechen", mrCancel}};

const char* CaptionOf(DlgType type) {
  switch (type) {
    case DlgType::Warning: return "Warnung";
    case DlgType::Error: return "Fehler";
    case DlgType::Information: return "Information";
    case DlgType::Confirmation: return "Bestätigen";
  }
  return "";
}

const char* IconOf(DlgType type) {
  switch (type) {
    case DlgType::Warning: return "warning";
    case DlgType::Error: return "error";
    case DlgType::Information: return "information";
    case DlgType::Confirmation: return "confirmation";
  }
  return "";
}

// 8 points at 96 ppi; the system's dialog font, which has the letters of a name in any alphabet
// (a directory the message names).
constexpr FontDesc DialogFont = {ShellDialog, 8 * 96 / 72};

}  // namespace

SIZE MessageTextSize(const std::string& text, int ppi) {
  GdiObject font(MakeFont(DialogFont, MulDiv(DialogFont.height, ppi, 96)));
  constexpr UINT format = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
  SIZE size = DrawnTextSize(static_cast<HFONT>(font.Get()), text, GetSystemMetrics(SM_CXSCREEN) / 2, format);
  // The label wraps at its own width: a line inked past the width it was wrapped at is wrapped
  // again at its reach, until the lines at the label's width fit it.
  for (int round = 0; round < 8; ++round) {
    const SIZE again = DrawnTextSize(static_cast<HFONT>(font.Get()), text, size.cx, format);
    const bool fits = again.cx <= size.cx;
    size = {std::max(size.cx, again.cx), again.cy};
    if (fits) break;
  }
  return size;
}

void ShowMessage(const std::string& text) {
  RecordRun({"message: ", text});
  if (!QuietMode) ShowMessageBox(GetActiveWindow(), text, Application.Title, MB_OK);
}

ModalResult Ask(const std::string& text, DlgType type, unsigned buttons, ModalResult quietAnswer) {
  const ModalResult answer = QuietMode ? quietAnswer : MessageDlg(text, type, buttons);
  std::string name = "(closed)";
  for (const ButtonInfo& b : Buttons)
    if (b.result == answer) name = b.caption[0] == '&' ? b.caption + 1 : b.caption;
  RecordRun({"question: ", text, " -> ", name, QuietMode ? " (quiet mode)" : " (user)"});
  return answer;
}

ModalResult MessageDlg(const std::string& text, DlgType type, unsigned buttons) {
  // Laid out in screen pixels: the form is described at the screen's own resolution.
  const int ppi = ScreenPpi();
  auto px = [ppi](int at96) { return MulDiv(at96, ppi, 96); };
  const SIZE textSize = MessageTextSize(text, ppi);
  const int margin = px(12), icon = GetSystemMetrics(SM_CXICON);
  const int buttonWidth = px(75), buttonHeight = px(25), gap = px(8);

  std::vector<const ButtonInfo*> shown;
  for (const ButtonInfo& b : Buttons)
    if (buttons & b.flag) shown.push_back(&b);
  const int count = static_cast<int>(shown.size());
  const int rowWidth = count * buttonWidth + (count - 1) * gap;
  const int textLeft = margin + icon + margin;
  const int width = std::max(textLeft + static_cast<int>(textSize.cx) + margin, rowWidth + 2 * margin);
  const int buttonTop = margin + std::max(icon, static_cast<int>(textSize.cy)) + margin;

  // Design pixels are small numbers: the tables keep them in 16 bits.
  const auto at = [](long v) { return static_cast<int16_t>(v); };
  // The controls' fields together, as in the form tables.
  // clang-format off
  std::vector<ControlDesc> controls;
  controls.push_back({.name = MessageForm::Image, .kind = ControlKind::Image, .left = at(margin), .top = at(margin),
                      .width = at(icon), .height = at(icon), .text = IconOf(type)});
  controls.push_back({.name = MessageForm::Message, .kind = ControlKind::Label, .left = at(textLeft),
                      .top = at(margin), .width = at(textSize.cx), .height = at(textSize.cy), .text = text.c_str(),
                      .wordWrap = true});
  // Escape answers with Abbrechen, else Nein, else OK, as the class library does.
  const ButtonInfo* cancel = shown.back();
  for (const ButtonInfo* b : shown)
    if (b->flag == mbNo && !(buttons & mbCancel)) cancel = b;
  int left = (width - rowWidth) / 2, tab = 0;
  for (const ButtonInfo* b : shown) {
    controls.push_back({.name = b->name, .kind = ControlKind::Button, .left = at(left),
                        .top = at(buttonTop), .width = at(buttonWidth), .height = at(buttonHeight),
                        .text = b->caption, .tabOrder = static_cast<int8_t>(tab), .modalResult = b->result,
                        .isDefault = tab == 0, .isCancel = b == cancel});
    left += buttonWidth + gap;
    ++tab;
  }
  const FormDesc desc = {.className = "TMessageForm", .caption = CaptionOf(type),
                         .clientWidth = width, .clientHeight = buttonTop + buttonHeight + margin,
                         .border = BorderStyle::Dialog,
                         .font = {DialogFont.face, at(MulDiv(DialogFont.height, ppi, 96))},
                         .position = FormPosition::ScreenCenter, .controls = controls,
                         .designPpi = ppi};
  // clang-format on
  Form dialog(desc);
  dialog.Create();
  return dialog.ShowModal();
}

bool BrowseForFolder(HWND owner, const std::string& title, std::string& path) {
  ItemIdList chosen;
  if (WideSystem()) {
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    chosen.Reset(SHBrowseForFolderW(&info));
  } else {
    std::string ansiTitle;
    ToSystemCodePage(title, ansiTitle);
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = ansiTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    chosen.Reset(SHBrowseForFolderA(&info));
  }
  if (!chosen) return false;
  path = PathFromIdList(chosen.Get());
  return !path.empty();
}
