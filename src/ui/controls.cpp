#include "ui/controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "ui/application.h"
#include "ui/control_name.h"
#include "env/system_library.h"
#include "ui/system_window.h"

namespace {
constexpr char PanelClass[] = "SetupPanel";
constexpr char LabelClass[] = "SetupLabel";

void FillColor(HDC dc, const RECT& rect, uint32_t color) {
  GdiObject brush(CreateSolidBrush(color));
  FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
}

void DrawControlText(HDC dc, Control& control, RECT rect, UINT format) {
  HGDIOBJ old = SelectObject(dc, control.font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, control.fontColor);
  DrawTextNamed(dc, ReadWindowText(control.hwnd), rect, format);
  SelectObject(dc, old);
}

void PaintPanel(Control& control, HDC dc) {
  RECT rect;
  GetClientRect(control.hwnd, &rect);
  FillColor(dc, rect, control.form->BackgroundColor(&control));
  const ControlDesc& d = *control.desc;
  if (d.kind == ControlKind::Bevel || d.bevel == BevelKind::Lowered)
    DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
  else if (d.bevel == BevelKind::Raised)
    DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
  if (d.kind != ControlKind::Panel) return;  // pages keep their caption to themselves
  InflateRect(&rect, -3, -1);
  const UINT align = d.align == TextAlign::Left ? DT_LEFT : DT_CENTER;
  DrawControlText(dc, control, rect, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PaintLabel(Control& control, HDC dc) {
  RECT rect;
  GetClientRect(control.hwnd, &rect);
  if (control.desc->transparent) {
    // Let the form paint what lies beneath, shifted to this label's place.
    POINT origin = {0, 0};
    MapWindowPoints(control.hwnd, control.form->Handle(), &origin, 1);
    POINT old;
    SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    control.form->PaintBackground(dc);
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
  } else {
    FillColor(dc, rect, control.form->BackgroundColor(&control));
  }
  const UINT wrap = control.desc->wordWrap ? DT_WORDBREAK : DT_SINGLELINE;
  DrawControlText(dc, control, rect, DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS | wrap);
}

void Paint(Control& control) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control.hwnd, &ps);
  if (control.desc->kind == ControlKind::Label)
    PaintLabel(control, dc);
  else
    PaintPanel(control, dc);
  EndPaint(control.hwnd, &ps);
}

// Notifications of the children of our containers belong to the form.
bool IsForwarded(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return true;
    default: return false;
  }
}

LRESULT HandleControlMessage(Control& control, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (IsForwarded(msg)) return SendMessageA(control.form->Handle(), msg, wParam, lParam);
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // painted whole in WM_PAINT
    case WM_PAINT: Paint(control); return 0;
    case WM_SETTEXT: {
      LRESULT result = DefaultWindowProc(hwnd, msg, wParam, lParam);
      if (control.autoSize) AutoSizeLabel(control);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_NCHITTEST:
      if (control.desc->kind == ControlKind::Label) return HTTRANSPARENT;
      break;
  }
  return DefaultWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    // The creation parameters lie at one place in either kind of structure.
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongValue(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* control = reinterpret_cast<Control*>(WindowLongValue(hwnd, GWLP_USERDATA));
  if (!control) return DefaultWindowProc(hwnd, msg, wParam, lParam);
  return HandleControlMessage(*control, hwnd, msg, wParam, lParam);
}

void RegisterControlClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  // By full path (see system_library.h); the first Windows 95 has no InitCommonControlsEx.
  if (auto init = SystemFunction<void(WINAPI*)()>("comctl32.dll", "InitCommonControls")) init();
  RegisterWindowClass(PanelClass, ControlProc, 0);
  RegisterWindowClass(LabelClass, ControlProc, 0);
}

struct WindowKind {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

DWORD TabStop(const ControlDesc& d) { return d.tabOrder >= 0 ? WS_TABSTOP : 0; }

WindowKind KindOf(const ControlDesc& d) {
  switch (d.kind) {
    case ControlKind::Panel:
    case ControlKind::Bevel:
    case ControlKind::PageBook:
    case ControlKind::Page: return {PanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Label: return {LabelClass, 0, 0};
    case ControlKind::Image:
      // Drawn by the form: an icon static keeps no text to be announced by.
      return {"STATIC", SS_OWNERDRAW, 0};
    case ControlKind::Button: return {"BUTTON", (d.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | TabStop(d), 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | TabStop(d), 0};
    case ControlKind::GroupBox:
      // A group box paints its frame and caption, never its ground: transparent, it is left
      // out of its parent's clipping, and the parent paints the ground beneath it.
      return {"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT};
    case ControlKind::Edit: return {"EDIT", ES_AUTOHSCROLL | TabStop(d), WS_EX_CLIENTEDGE};
    case ControlKind::Memo:
      return {"EDIT", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | TabStop(d), WS_EX_CLIENTEDGE};
    case ControlKind::TreeView:
      return {WC_TREEVIEWA, TVS_SHOWSELALWAYS | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TabStop(d),
              WS_EX_CLIENTEDGE};
    case ControlKind::Gauge: return {PROGRESS_CLASSA, PBS_SMOOTH, 0};
    case ControlKind::ComboBox:
      return {"COMBOBOX", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | TabStop(d), 0};
    case ControlKind::ListBox:
      return {"LISTBOX", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | TabStop(d), WS_EX_CLIENTEDGE};
    case ControlKind::Timer: break;
  }
  return {PanelClass, 0, 0};
}

// The pictures the forms show, by their designed names, and what each is called for a screen
// reader: the captions of the boxes that show them, the program's name for its own.
// The ids are the system's icons (IDI_INFORMATION ...), but OwnIcon, the program's resource.
struct Picture {
  const char *name, *shown;
  WORD id;
};
constexpr WORD OwnIcon = 1;
constexpr Picture Pictures[] = {{"information", "Information", 32516},
                                {"warning", "Warnung", 32515},
                                {"error", "Fehler", 32513},
                                {"confirmation", "Bestätigen", 32514},
                                {"app", "Setup", OwnIcon}};

const Picture& PictureNamed(const char* name) {
  for (const Picture& p : Pictures)
    if (!strcmp(p.name, name)) return p;
  return Pictures[0];
}

void Prepare(Control& control) {
  const ControlDesc& d = *control.desc;
  HWND hwnd = control.hwnd;
  SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(control.font.Get()), FALSE);
  switch (d.kind) {
    case ControlKind::TreeView:
      TreeView_SetBkColor(hwnd, control.form->BackgroundColor(&control));
      TreeView_SetTextColor(hwnd, control.fontColor);
      if (d.indent) TreeView_SetIndent(hwnd, control.form->Scale(d.indent));
      AddTreeLines(hwnd, d.text);
      break;
    case ControlKind::Gauge: SendMessageA(hwnd, PBM_SETBARCOLOR, 0, clBlue); break;
    case ControlKind::CheckBox: SendMessageA(hwnd, BM_SETCHECK, d.checked ? BST_CHECKED : BST_UNCHECKED, 0); break;
    case ControlKind::Image: SetWindowTextNamed(hwnd, PictureNamed(d.text).shown); break;
    case ControlKind::ComboBox:
      if (d.itemHeight) SendMessageA(hwnd, CB_SETITEMHEIGHT, 0, control.form->Scale(d.itemHeight));
      break;
    case ControlKind::ListBox:
      if (d.itemHeight) SendMessageA(hwnd, LB_SETITEMHEIGHT, 0, control.form->Scale(d.itemHeight));
      break;
    default: break;
  }
}

bool HasWindowText(ControlKind kind) {
  return kind != ControlKind::TreeView && kind != ControlKind::Image && kind != ControlKind::ComboBox &&
         kind != ControlKind::ListBox;
}
}  // namespace

void DrawImage(const Control& control, const DRAWITEMSTRUCT& item) {
  const Picture& picture = PictureNamed(control.desc->text);
  FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(control.brush.Get()));
  const int size = GetSystemMetrics(SM_CXICON);
  DrawIcon(item.hDC, (item.rcItem.right - size) / 2, (item.rcItem.bottom - size) / 2,
           LoadIconA(picture.id == OwnIcon ? GetModuleHandleA(nullptr) : nullptr, MAKEINTRESOURCEA(picture.id)));
}

void AddTreeLines(HWND tree, const char* text) {
  std::string lines = text;
  size_t start = 0;
  while (start < lines.size()) {
    size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    InsertTreeNode(tree, lines.substr(start, end - start));
    start = end + 1;
  }
}

int ScreenPpi() {
  HDC dc = GetDC(nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

bool IsContainer(ControlKind kind) {
  return kind == ControlKind::Panel || kind == ControlKind::PageBook || kind == ControlKind::Page ||
         kind == ControlKind::GroupBox;
}

const FontDesc& EffectiveFont(const Control& control) {
  for (const Control* c = &control; c; c = c->parent)
    if (c->desc->font.face) return c->desc->font;
  return control.form->Desc().font;
}

SIZE TextExtent(const Control& control, const std::string& text, UINT format) {
  return DrawnTextSize(static_cast<HFONT>(control.font.Get()), text, 0, format);
}

RECT BoundsInParent(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void AutoSizeLabel(Control& control) {
  const std::string text = ReadWindowText(control.hwnd);
  const SIZE size = TextExtent(control, text.empty() ? " " : text, DT_SINGLELINE | DT_NOPREFIX);
  // The old area shows through a transparent label: repaint it too.
  const RECT before = BoundsInParent(control.hwnd);
  SetWindowPos(control.hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(GetParent(control.hwnd), &before, TRUE);
}

HWND CreateControlWindow(Control& control, HWND parent, const RECT& bounds, int id) {
  RegisterControlClasses();
  const ControlDesc& d = *control.desc;
  const WindowKind kind = KindOf(d);
  DWORD style = WS_CHILD | kind.style | (d.visible ? WS_VISIBLE : 0) | (d.enabled ? 0 : WS_DISABLED);
  const char* text = HasWindowText(d.kind) ? d.text : "";
  HWND hwnd = CreateWindowNamed(kind.exStyle, kind.className, text, style, bounds, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), &control);
  if (!hwnd) return nullptr;
  control.hwnd = hwnd;
  SetPropA(hwnd, ControlNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomA(d.name))));
  const FontDesc& font = EffectiveFont(control);
  control.fontColor = font.color;
  control.font.Reset(MakeFont(font, control.form->Scale(font.height)));
  control.brush.Reset(CreateSolidBrush(control.form->BackgroundColor(&control)));
  Prepare(control);
  control.autoSize = d.kind == ControlKind::Label && d.width == 0;
  if (control.autoSize) AutoSizeLabel(control);
  return hwnd;
}
