#include "forms/forms.h"

namespace {
using namespace AskForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr ControlDesc Controls[] = {
    {.name = "Panel1", .kind = ControlKind::Panel, .left = 16, .top = 13, .width = 601,
     .height = 65, .color = clLightYellow},
    {.name = lbInfo, .kind = ControlKind::Label, .parent = "Panel1", .left = 10, .top = 6,
     .width = 583, .height = 51, .color = clLightYellow, .wordWrap = true},
    {.name = "Label2", .kind = ControlKind::Label, .left = 16, .top = 81,
     .text = "Zu löschende Verzeichnisse und Dateien:"},
    {.name = lbFiles, .kind = ControlKind::ListBox, .left = 16, .top = 101, .width = 601,
     .height = 281, .font = {ShellDialog, 17, false, false, clBlack}, .tabOrder = 0,
     .itemHeight = 20},
    {.name = Button2, .kind = ControlKind::Button, .left = 16, .top = 394, .width = 185,
     .height = 33, .text = "Nein, Dateien nicht löschen", .tabOrder = 2, .modalResult = mrNo, .isCancel = true},
    {.name = Button1, .kind = ControlKind::Button, .left = 208, .top = 394, .width = 177,
     .height = 33, .text = "Ja, Dateien löschen !!", .tabOrder = 1, .modalResult = mrOk, .isDefault = true},
};
}  // namespace

const FormDesc AskFormDesc = {
    .className = "Tf_Ask", .caption = "Sicherheitsabfrage!", .clientWidth = 632,
    .clientHeight = 438, .border = BorderStyle::Dialog, .font = {SansSerif, 13},
    .position = FormPosition::ScreenCenter, .controls = Controls};
// clang-format on
