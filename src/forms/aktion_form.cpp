#include "forms/forms.h"

namespace {
using namespace AktionForm;

// The tables are laid out by hand, each control's fields together.
// clang-format off

constexpr FontDesc Body = {"Arial", 15, false, false, clBlack};
constexpr FontDesc Title = {"Arial", 16, true, false, clWhite};
constexpr FontDesc Bullet = {"Arial", 15, true, false, clBlack};
// Where a path is shown: the system's dialog font, which has the letters of every alphabet
// a folder may be named in (through the system's font links).
constexpr FontDesc Names = {ShellDialog, 15, false, false, clBlack};

// Each page: a grey title bar, then its text; "o" bullets stand before paragraphs.
constexpr ControlDesc Controls[] = {
    {.name = nb1, .kind = ControlKind::PageBook, .left = 16, .top = 16, .width = 489,
     .height = 249},

    {.name = "Welcome", .kind = ControlKind::Page, .parent = nb1, .text = "Welcome",
     .dock = Dock::Fill},
    {.name = "pnTitle0", .kind = ControlKind::Panel, .parent = "Welcome", .height = 28,
     .text = " 1. Herzlich Willkommen!", .font = Title, .color = clGray, .dock = Dock::Top,
     .bevel = BevelKind::Raised, .align = TextAlign::Left},
    {.name = "lbBullet01", .kind = ControlKind::Label, .parent = "Welcome", .left = 16, .top = 48,
     .width = 16, .height = 20, .text = "o", .font = Bullet},
    {.name = Label4, .kind = ControlKind::Label, .parent = "Welcome", .left = 40, .top = 48,
     .width = 433, .height = 84,
     .text = "Dieses Installationsprogramm richtet <Prog> auf Ihren Computer ein. Bei Bedarf "
             "können Sie es wieder vollständig entfernen (unter Start, Einstellungen, "
             "Systemsteuerung, Software).",
     .font = Body, .wordWrap = true},
    {.name = "lbBullet02", .kind = ControlKind::Label, .parent = "Welcome", .left = 16, .top = 148,
     .width = 16, .height = 20, .text = "o", .font = Bullet},
    {.name = "Label5", .kind = ControlKind::Label, .parent = "Welcome", .left = 40, .top = 148,
     .width = 433, .height = 60,
     .text = "Drücken Sie \"Weiter\" um fortzufahren, oder \"Beenden\", um die Installation "
             "abzubrechen.",
     .font = Body, .wordWrap = true},

    {.name = "Info", .kind = ControlKind::Page, .parent = nb1, .text = "Info",
     .dock = Dock::Fill, .visible = false},
    {.name = "pnTitle1", .kind = ControlKind::Panel, .parent = "Info", .height = 28,
     .text = " 2. Neueste Informationen", .font = Title, .color = clGray, .dock = Dock::Top,
     .bevel = BevelKind::Raised, .align = TextAlign::Left},
    {.name = "lbBullet11", .kind = ControlKind::Label, .parent = "Info", .left = 16, .top = 44,
     .width = 16, .height = 20, .text = "o", .font = Bullet},
    {.name = "Label6", .kind = ControlKind::Label, .parent = "Info", .left = 40, .top = 44,
     .width = 433, .height = 44,
     .text = "In der mitgelieferten Datei \"Liesmich.Txt\" erhalten Sie neueste  Informationen "
             "zum Programm.",
     .font = Body, .wordWrap = true},
    {.name = "Image1", .kind = ControlKind::Image, .parent = "Info", .left = 40, .top = 96,
     .width = 40, .height = 40, .text = "information"},
    {.name = "Label7", .kind = ControlKind::Label, .parent = "Info", .left = 88, .top = 96,
     .width = 385, .height = 54,  // three lines at 96 pixels per inch
     .text = "Wenn Sie bereits mit einer Vorversion des Programms gearbeitet haben, sollten Sie "
             "zunächst diese Datei lesen!",
     .font = {"Arial", 15, false, false, clBlue}, .wordWrap = true},
    {.name = "lbBullet12", .kind = ControlKind::Label, .parent = "Info", .left = 16, .top = 152,
     .width = 16, .height = 20, .text = "o", .font = Bullet},
    {.name = "Label8", .kind = ControlKind::Label, .parent = "Info", .left = 40, .top = 152,
     .width = 433, .height = 40,
     .text = "Um diese Informationen jetzt anzusehen, drücken Sie den Schalter \"Info\".",
     .font = Body, .wordWrap = true},
    {.name = bnInfo, .kind = ControlKind::Button, .parent = "Info", .left = 40, .top = 200,
     .width = 90, .height = 30, .text = "Info...", .tabOrder = 0},

    {.name = "BGB", .kind = ControlKind::Page, .parent = nb1, .text = "BGB", .dock = Dock::Fill,
     .visible = false},
    {.name = "pnTitle2", .kind = ControlKind::Panel, .parent = "BGB", .height = 28,
     .text = " 3. Lizenzbedingungen akzeptiert?", .font = Title, .color = clGray,
     .dock = Dock::Top, .bevel = BevelKind::Raised, .align = TextAlign::Left},
    {.name = Memo1, .kind = ControlKind::Memo, .parent = "BGB", .font = Body,
     .dock = Dock::Fill, .tabOrder = 0},

    {.name = "Path", .kind = ControlKind::Page, .parent = nb1, .text = "Path", .dock = Dock::Fill,
     .visible = false},
    {.name = "pnTitle3", .kind = ControlKind::Panel, .parent = "Path", .height = 28,
     .text = " 4. Installationsverzeichnis festlegen", .font = Title, .color = clGray,
     .dock = Dock::Top, .bevel = BevelKind::Raised, .align = TextAlign::Left},
    {.name = "Label9", .kind = ControlKind::Label, .parent = "Path", .left = 16, .top = 44,
     .width = 457, .height = 40,
     .text = "Bitte geben Sie das Verzeichnis an, in dem das Programm installiert werden soll.",
     .font = Body, .wordWrap = true},
    {.name = edPathName, .kind = ControlKind::Edit, .parent = "Path", .left = 16, .top = 92,
     .width = 413, .height = 26, .font = Names, .tabOrder = 0},
    {.name = bnDir, .kind = ControlKind::Button, .parent = "Path", .left = 435, .top = 90,
     .width = 38, .height = 30, .text = "...", .tabOrder = 1},
    {.name = "Label10", .kind = ControlKind::Label, .parent = "Path", .left = 16, .top = 132,
     .width = 457, .height = 40,
     .text = "Drücken Sie anschließend den Schalter \"Fertig\", um mit der Installation zu "
             "beginnen.",
     .font = Body, .wordWrap = true},
    {.name = cbMakePath, .kind = ControlKind::CheckBox, .parent = "Path", .left = 16,
     .top = 190, .width = 457, .height = 24,
     .text = "Wenn Verzeichnis noch nicht besteht, ohne Nachfrage erstellen", .font = Body,
     .checked = true, .tabOrder = 2},

    {.name = "CopyInfo", .kind = ControlKind::Page, .parent = nb1, .text = "CopyInfo",
     .dock = Dock::Fill, .visible = false},
    {.name = "pnTitle4", .kind = ControlKind::Panel, .parent = "CopyInfo", .height = 28,
     .text = " 5. Dateien auf den Computer kopieren", .font = Title, .color = clGray,
     .dock = Dock::Top, .bevel = BevelKind::Raised, .align = TextAlign::Left},
    {.name = "Label11", .kind = ControlKind::Label, .parent = "CopyInfo", .left = 16, .top = 56,
     .width = 50, .height = 20, .text = "Von:", .font = Bullet},
    {.name = pnFrom, .kind = ControlKind::Panel, .parent = "CopyInfo", .left = 72, .top = 52,
     .width = 401, .height = 26, .font = Names, .align = TextAlign::Left},
    {.name = "Label12", .kind = ControlKind::Label, .parent = "CopyInfo", .left = 16, .top = 96,
     .width = 50, .height = 20, .text = "Nach:", .font = Bullet},
    {.name = pnTo, .kind = ControlKind::Panel, .parent = "CopyInfo", .left = 72, .top = 92,
     .width = 401, .height = 26, .font = Names, .align = TextAlign::Left},
    {.name = Gauge1, .kind = ControlKind::Gauge, .parent = "CopyInfo", .left = 16, .top = 150,
     .width = 457, .height = 26},

    {.name = bnInstal, .kind = ControlKind::Button, .left = 15, .top = 278, .width = 90,
     .height = 30, .text = "&Weiter ", .tabOrder = 1, .isDefault = true},
    {.name = bnBack, .kind = ControlKind::Button, .left = 109, .top = 278, .width = 90,
     .height = 30, .text = "&Zurück", .enabled = false, .tabOrder = 2},
    {.name = bnEnd, .kind = ControlKind::Button, .left = 205, .top = 278, .width = 90,
     .height = 30, .text = "&Beenden", .tabOrder = 3, .isCancel = true},
    {.name = Panel4, .kind = ControlKind::Panel, .left = 338, .top = 275, .width = 167,
     .height = 35, .color = clRed, .visible = false},
    {.name = bnja, .kind = ControlKind::Button, .parent = Panel4, .left = 3, .top = 3,
     .width = 80, .height = 30, .text = "&Ja", .tabOrder = 4},
    {.name = bnNein, .kind = ControlKind::Button, .parent = Panel4, .left = 85, .top = 3,
     .width = 80, .height = 30, .text = "&Nein", .tabOrder = 5},
};
}  // namespace

const FormDesc AktionFormDesc = {
    .className = "Tf_Aktion", .caption = "Setup", .clientWidth = 517, .clientHeight = 325,
    .border = BorderStyle::Dialog, .systemMenu = false,
    .font = {"Arial", 15, false, false, clBlack}, .controls = Controls};
// clang-format on
