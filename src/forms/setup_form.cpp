#include "env/version.h"
#include "forms/forms.h"

namespace {
using namespace SetupForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr ControlDesc Controls[] = {
    {.name = pnBanner, .kind = ControlKind::Panel, .height = 26,
     .text = "Setup " SETUP_VERSION " · Installation und Deinstallation von Windows-Programmen",
     .font = {"Arial", 14, false, false, clBlack}, .dock = Dock::Bottom,
     .bevel = BevelKind::Lowered, .align = TextAlign::Left},
    // Wide enough for the uninstaller's longest step, "2. Programmdateien löschen".
    {.name = "Panel1", .kind = ControlKind::Panel, .width = 244, .dock = Dock::Left},
    {.name = SetupType, .kind = ControlKind::Panel, .parent = "Panel1", .height = 41,
     .text = "Setup", .font = {"Arial", 22, true, false, clLime}, .color = clBlack,
     .dock = Dock::Top, .bevel = BevelKind::Lowered},
    {.name = TreeView1, .kind = ControlKind::TreeView, .parent = "Panel1",
     .text = "START\n1. Begrüßung\n2. Information\n3. Lizenzbedingungen\n"
             "4. Installationsverzeichnis\n5. Dateien kopieren\n6. Shortcuts\nZIEL",
     .font = {"Times New Roman", 15, false, false, clBlack}, .color = clWhite,
     .dock = Dock::Fill, .indent = 19},
    {.name = lbProgName, .kind = ControlKind::Label, .left = 256, .top = 8,
     .font = {"Arial", 23, true, true, clWhite}, .transparent = true},
    {.name = Timer1, .kind = ControlKind::Timer, .interval = 200},
    {.name = AutoTimer, .kind = ControlKind::Timer, .interval = 2000},
};
}  // namespace

// The uninstaller's steps, shown in TreeView1 in place of the installer's.
const char UninstallSteps[] = "START\n1. Sicherheitsabfrage\n2. Programmdateien löschen\n3. Abfrage Daten löschen\nZIEL";

const FormDesc SetupFormDesc = {
    .className = "Tf_Setup", .caption = "Setup", .clientWidth = 626, .clientHeight = 447,
    .border = BorderStyle::Single, .systemMenu = true, .minimizeBox = true,
    .font = {"System", 17, true, false, clBlack}, .color = clSilver, .controls = Controls};
// clang-format on
