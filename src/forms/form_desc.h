// Forms as data: what a window holds, where, and how it looks (in small types: the tables
// of all forms lie in SETUP.EXE). Positions and sizes are
// design pixels (120 per inch unless a form says otherwise); the window layer scales them.
#pragma once
#include <cstdint>
#include <span>

enum class ControlKind : uint8_t {
  Panel,  // container with optional bevel, colour and caption
  Label,  // static text, optionally transparent and word-wrapped
  Bevel,  // a sunken frame
  Image,  // an icon: text names it ("app", "information", "warning", "error", "confirmation")
  Button,
  CheckBox,
  GroupBox,
  Edit,
  Memo,      // multi-line text with a vertical scroll bar
  TreeView,  // text holds the designed top-level nodes, one per line
  Gauge,     // horizontal progress bar
  ComboBox,  // owner-drawn drop-down list
  ListBox,
  PageBook,  // holds pages; one is shown at a time
  Page,      // a page of a page book; text is its caption, by which it is found
  Timer,     // no window; interval in ms, starts disabled unless enabled is set
};

enum class Dock : uint8_t { None, Top, Bottom, Left, Fill };
enum class BevelKind : uint8_t { None, Lowered, Raised };
enum class TextAlign : uint8_t { Left, Center };
enum class BorderStyle : uint8_t { Sizeable, Dialog, Single };
enum class FormPosition : uint8_t { Designed, ScreenCenter };

inline constexpr uint32_t NoColor = 0xFFFFFFFFu;  // the system's default for the kind

// Colour references: red in the low byte, then green, then blue.
inline constexpr uint32_t clBlack = 0x000000, clWhite = 0xFFFFFF, clSilver = 0xC0C0C0, clGray = 0x808080,
                          clNavy = 0x800000, clBlue = 0xFF0000, clRed = 0x0000FF, clLime = 0x00FF00,
                          clLightYellow = 0x80FFFF;

// What a modal window or a typed dialog ended with.
enum ModalResult : int8_t { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// The faces the forms name, one copy each in the program.
inline constexpr char SansSerif[] = "MS Sans Serif", ShellDialog[] = "MS Shell Dlg";

struct FontDesc {
  const char* face = nullptr;  // nullptr: the parent's font
  int16_t height = 0;          // character height in design pixels
  bool bold = false;
  bool italic = false;
  uint32_t color = clBlack;
};

struct ControlDesc {
  const char* name;
  ControlKind kind;
  const char* parent = nullptr;                      // nullptr: the form itself
  int16_t left = 0, top = 0, width = 0, height = 0;  // a label of width 0 sizes itself
  const char* text = "";
  FontDesc font = {};
  uint32_t color = NoColor;  // background
  Dock dock = Dock::None;
  BevelKind bevel = BevelKind::None;
  TextAlign align = TextAlign::Center;  // panel captions
  bool visible = true;
  bool enabled = true;
  bool wordWrap = false;
  bool transparent = false;
  bool checked = false;
  int8_t tabOrder = -1;              // -1: no tab stop
  ModalResult modalResult = mrNone;  // a button that ends a modal form with this result
  bool isDefault = false;
  bool isCancel = false;
  int interval = 0;        // timers
  int16_t itemHeight = 0;  // owner-drawn combo and list boxes
  int16_t indent = 0;      // tree views
};

struct FormDesc {
  const char* className;
  const char* caption;
  int clientWidth, clientHeight;
  BorderStyle border = BorderStyle::Dialog;
  bool systemMenu = true;
  bool minimizeBox = false;
  bool maximizeBox = false;
  FontDesc font = {SansSerif, 13};
  uint32_t color = NoColor;
  FormPosition position = FormPosition::Designed;
  int left = 0, top = 0;
  std::span<const ControlDesc> controls = {};
  int designPpi = 120;
};
