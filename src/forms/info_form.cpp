#include "forms/forms.h"

namespace {
using namespace InfoForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr ControlDesc Controls[] = {
    {.name = "Panel1", .kind = ControlKind::Panel, .height = 38, .dock = Dock::Bottom,
     .bevel = BevelKind::Lowered},
    {.name = bnGoOn, .kind = ControlKind::Button, .parent = "Panel1", .left = 8, .top = 4,
     .width = 99, .height = 30, .text = "&Weiter  >>", .tabOrder = 1, .modalResult = mrCancel, .isDefault = true,
     .isCancel = true},
    {.name = Memo1, .kind = ControlKind::Memo, .text = "Memo1",
     .font = {"Courier New", 18, true, false, clBlack}, .dock = Dock::Fill, .tabOrder = 0},
};
}  // namespace

const FormDesc InfoFormDesc = {
    .className = "Tf_info", .caption = "Aktuelle Info - Liesmich.txt", .clientWidth = 620,
    .clientHeight = 420, .border = BorderStyle::Sizeable, .controls = Controls};
// clang-format on
