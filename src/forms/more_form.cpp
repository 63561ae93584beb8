#include "forms/forms.h"

namespace {
using namespace MoreForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr FontDesc Arial15 = {"Arial", 15, false, false, clBlack};

constexpr ControlDesc Controls[] = {
    {.name = "GroupBox1", .kind = ControlKind::GroupBox, .left = 16, .top = 16, .width = 379,
     .height = 162, .text = " Setup kann für das Programm einrichten: ",
     .font = {SansSerif, 15, true, false, clBlack}},
    {.name = cbDesktop, .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16,
     .top = 37, .width = 345, .height = 22, .text = "Auf dem Desktop eine &Verknüpfung anlegen",
     .font = Arial15, .tabOrder = 1},
    {.name = cbStartmenu, .kind = ControlKind::CheckBox, .parent = "GroupBox1", .left = 16,
     .top = 63, .width = 345, .height = 22, .text = "Einen Eintrag in das &Startmenü vornehmen",
     .font = Arial15, .tabOrder = 0},
    {.name = "Label1", .kind = ControlKind::Label, .parent = "GroupBox1", .left = 17, .top = 106,
     .width = 345, .height = 40,
     .text = "Wählen Sie bei Bedarf eine oder mehrere der oben angebotenen Optionen aus.",
     .font = {"Arial", 15, false, false, clNavy}, .wordWrap = true},
    {.name = BitBtn1, .kind = ControlKind::Button, .left = 16, .top = 193, .width = 106,
     .height = 33, .text = "&Ok", .tabOrder = 2, .modalResult = mrOk, .isDefault = true},
};
}  // namespace

const FormDesc MoreFormDesc = {
    .className = "Tf_more", .caption = "Anwendungs-Einrichtung...", .clientWidth = 412,
    .clientHeight = 242, .border = BorderStyle::Dialog, .controls = Controls};
// clang-format on
