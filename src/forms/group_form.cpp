#include "forms/forms.h"

namespace {
using namespace GroupForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr FontDesc NavyText = {SansSerif, 13, false, false, clNavy};

constexpr ControlDesc Controls[] = {
    {.name = "Label1", .kind = ControlKind::Label, .left = 16, .top = 17,
     .text = "Programmgruppe einrichten für Benutzer:"},
    {.name = cbUsers, .kind = ControlKind::ComboBox, .left = 16, .top = 39, .width = 377,
     .height = 200, .tabOrder = 0, .itemHeight = 20},
    {.name = "Label2", .kind = ControlKind::Label, .left = 16, .top = 74, .width = 377,
     .height = 53,
     .text = "Sie sind als Benutzer mit Administratorrechten angemeldet und können hier bei "
             "Bedarf einen anderen Benutzer bestimmen, für den die Programmgruppe angelegt "
             "werden soll. ",
     .font = NavyText, .wordWrap = true},
    {.name = "Label3", .kind = ControlKind::Label, .left = 16, .top = 138, .width = 377,
     .height = 53,
     .text = "Wählen Sie \"Alle Anwender\" wenn die Programmgruppe für alle Anwender "
             "eingerichtet werden soll.",
     .font = NavyText, .wordWrap = true},
    {.name = BitBtn1, .kind = ControlKind::Button, .left = 16, .top = 203, .width = 105,
     .height = 33, .text = "OK", .tabOrder = 1, .modalResult = mrOk, .isDefault = true},
};
}  // namespace

const FormDesc GroupFormDesc = {
    .className = "Tf_Group", .caption = "Programmgruppe anlegen", .clientWidth = 427,
    .clientHeight = 255, .border = BorderStyle::Dialog, .systemMenu = false,
    .controls = Controls};
// clang-format on
