#include "forms/forms.h"

namespace {
using namespace ProgressForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr FontDesc Bold = {SansSerif, 13, true, false, clBlack};
// The paths: the system's dialog font has the letters of every alphabet.
constexpr FontDesc Names = {ShellDialog, 13, true, false, clBlack};

constexpr ControlDesc Controls[] = {
    {.name = "Label1", .kind = ControlKind::Label, .left = 24, .top = 16, .width = 32,
     .height = 16, .text = "Von:", .font = Bold},
    {.name = pnFrom, .kind = ControlKind::Panel, .left = 24, .top = 32, .width = 417,
     .height = 25, .text = "pnFrom", .font = Names, .align = TextAlign::Left},
    {.name = Label2, .kind = ControlKind::Label, .left = 24, .top = 72, .width = 41,
     .height = 16, .text = "Nach:", .font = Bold},
    {.name = pnTo, .kind = ControlKind::Panel, .left = 24, .top = 88, .width = 425,
     .height = 25, .text = "pnTo", .font = Names, .align = TextAlign::Left},
    {.name = Gauge1, .kind = ControlKind::Gauge, .left = 24, .top = 125, .width = 433,
     .height = 25},
    {.name = bnEsc, .kind = ControlKind::Button, .left = 187, .top = 168, .width = 134,
     .height = 33, .text = "Abbrechen", .tabOrder = 0, .isCancel = true},
};
}  // namespace

const FormDesc ProgressFormDesc = {
    .className = "Tf_Progress", .caption = "Kopiere...", .clientWidth = 479, .clientHeight = 221,
    .border = BorderStyle::Dialog, .font = {"System", 16, true, false, clBlack},
    .position = FormPosition::ScreenCenter, .controls = Controls};
// clang-format on
