#include "forms/forms.h"

namespace {
using namespace UninstalForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr FontDesc ButtonFont = {SansSerif, 15, false, false, clBlack};

constexpr ControlDesc Controls[] = {
    {.name = "Bevel1", .kind = ControlKind::Bevel, .left = 18, .top = 18, .width = 527,
     .height = 263},
    {.name = "Image1", .kind = ControlKind::Image, .left = 32, .top = 40, .width = 41,
     .height = 40, .text = "app"},
    {.name = "Label1", .kind = ControlKind::Label, .left = 80, .top = 37, .width = 441,
     .height = 88,
     .text = "Bitte drücken Sie die Taste \"Weiter\" um das Programm zu deinstalieren oder "
             "drücken Sie die Taste \"Beenden\" um den Deinstallationsvorgang abzubrechen.",
     .font = {"Arial", 13, false, false, clBlack}, .wordWrap = true},
    {.name = lbInfo, .kind = ControlKind::Label, .left = 34, .top = 236, .width = 495,
     .height = 29, .font = {SansSerif, 13, true, false, clBlack}, .wordWrap = true},
    {.name = Button1, .kind = ControlKind::Button, .left = 18, .top = 296, .width = 90,
     .height = 32, .text = "&Weiter >>", .font = ButtonFont, .tabOrder = 0, .isDefault = true},
    {.name = Button2, .kind = ControlKind::Button, .left = 115, .top = 296, .width = 89,
     .height = 32, .text = "&Beenden", .font = ButtonFont, .tabOrder = 1, .isCancel = true},
};
}  // namespace

const FormDesc UninstalFormDesc = {
    .className = "Tf_Uninstal", .caption = "Deinstallation", .clientWidth = 559,
    .clientHeight = 342, .border = BorderStyle::Dialog,
    .font = {SansSerif, 14, true, false, clBlack}, .controls = Controls};
// clang-format on
