#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>

#include "codec/sha256.h"
#include "env/library_error.h"
#include "env/messages.h"
#include "env/paths.h"
#include "env/run_record.h"
#include "env/text_file.h"
#include "ui/application.h"
#include "ui/control_name.h"
#include "ui/controls.h"
#include "env/unicode.h"
#include "ui/system_window.h"

namespace {
constexpr char FormClass[] = "SetupForm";
constexpr int FirstControlId = 1000;
const Form* activeForm = nullptr;  // the form that was activated last

DWORD FormStyle(const FormDesc& d) {
  DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
  style |=
      d.border == BorderStyle::Sizeable ? WS_THICKFRAME : (d.border == BorderStyle::Dialog ? DS_MODALFRAME : WS_BORDER);
  if (d.systemMenu) style |= WS_SYSMENU;
  if (d.minimizeBox) style |= WS_MINIMIZEBOX;
  if (d.maximizeBox) style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD FormExStyle(const FormDesc& d) {
  return WS_EX_CONTROLPARENT | (d.border == BorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0);
}

HTREEITEM TreeNode(HWND tree, int index) {
  HTREEITEM item = TreeView_GetRoot(tree);
  for (int i = 0; item && i < index; ++i) item = TreeView_GetNextSibling(tree, item);
  return item;
}

void RegisterFormClass() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterWindowClass(FormClass, DefaultWindowProc, 1);
}

BOOL CALLBACK DisableWindow(HWND hwnd, LPARAM param) {
  auto* list = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(param);
  if (hwnd != list->first && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
    EnableWindow(hwnd, FALSE);
    list->second->push_back(hwnd);
  }
  return TRUE;
}
// An owner-drawn entry gets the control's font and the selection colours when highlighted,
// so that its drawing handler only fills and writes.
void PrepareItemColors(const DRAWITEMSTRUCT& item, HGDIOBJ font) {
  const bool selected = item.itemState & ODS_SELECTED;
  const int back = selected ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  SelectObject(item.hDC, font);
  SelectObject(item.hDC, GetSysColorBrush(back));
  SetBkColor(item.hDC, GetSysColor(back));
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
}
}  // namespace

Form::Form(const FormDesc& desc) : desc_(desc) {}

Form::~Form() {
  if (activeForm == this) activeForm = nullptr;
  if (hwnd_) {
    SetWindowLongValue(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

int Form::Scale(int designPixels) const { return MulDiv(designPixels, ScreenPpi(), desc_.designPpi); }

void Form::Create() {
  RegisterFormClass();
  font_.Reset(MakeFont(desc_.font, Scale(desc_.font.height)));
  brush_.Reset(CreateSolidBrush(BackgroundColor(nullptr)));
  RECT rect = {0, 0, Scale(desc_.clientWidth), Scale(desc_.clientHeight)};
  AdjustWindowRectEx(&rect, FormStyle(desc_), FALSE, FormExStyle(desc_));
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int left = Scale(desc_.left), top = Scale(desc_.top);
  if (desc_.position == FormPosition::ScreenCenter) {
    left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  }
  HWND owner = Application.MainForm ? Application.MainForm->Handle() : nullptr;
  hwnd_ = CreateWindowNamed(FormExStyle(desc_), FormClass, desc_.caption, FormStyle(desc_),
                            {left, top, left + width, top + height}, owner, nullptr, nullptr);
  SetWindowLongValue(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongValue(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form::WindowProc));
  SetPropA(hwnd_, ControlNameProperty,
           reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomA(desc_.className))));
  CreateControls();
  Layout();
  FormCreate();
}

void Form::CreateControls() {
  int id = FirstControlId;
  for (const ControlDesc& d : desc_.controls) {
    auto control = std::make_unique<Control>();
    control->desc = &d;
    control->form = this;
    control->parent = d.parent ? Find(d.parent) : nullptr;
    if (d.kind == ControlKind::Timer) {
      controls_.push_back(std::move(control));
      ++id;
      continue;
    }
    // Children of a group box live beside it: the system's group box keeps no messages.
    HWND parentWindow = hwnd_;
    POINT offset = {0, 0};
    for (Control* p = control->parent; p; p = p->parent) {
      if (p->desc->kind != ControlKind::GroupBox) {
        parentWindow = p->hwnd;
        break;
      }
      offset.x += p->desc->left;
      offset.y += p->desc->top;
    }
    RECT bounds = {Scale(d.left + offset.x), Scale(d.top + offset.y), Scale(d.left + offset.x + d.width),
                   Scale(d.top + offset.y + d.height)};
    CreateControlWindow(*control, parentWindow, bounds, id++);
    controls_.push_back(std::move(control));
  }
  // Tab order: lower numbers first within the window's z-order, equal ones as described.
  for (int order = 0; order <= INT8_MAX; ++order)
    for (auto& c : controls_)
      if (c->hwnd && c->desc->tabOrder == order)
        SetWindowPos(c->hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Docked controls share their container's inside: top, bottom and left first, then fill.
void Form::Layout() {
  auto layoutInside = [this](HWND container, Control* owner) {
    RECT free;
    GetClientRect(container, &free);
    for (Dock pass : {Dock::Top, Dock::Bottom, Dock::Left, Dock::Fill}) {
      for (auto& c : controls_) {
        if (c->parent != owner || c->desc->dock != pass || !c->hwnd) continue;
        RECT r = free;
        const ControlDesc& d = *c->desc;
        if (pass == Dock::Top) free.top = r.bottom = std::min(free.bottom, free.top + Scale(d.height));
        if (pass == Dock::Bottom) free.bottom = r.top = std::max(free.top, free.bottom - Scale(d.height));
        if (pass == Dock::Left) free.left = r.right = std::min(free.right, free.left + Scale(d.width));
        SetWindowPos(c->hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
  };
  layoutInside(hwnd_, nullptr);
  for (auto& c : controls_)
    if (c->hwnd && IsContainer(c->desc->kind)) layoutInside(c->hwnd, c.get());
}

Control* Form::Find(std::string_view name) const {
  for (auto& c : controls_)
    if (name == c->desc->name) return c.get();
  return nullptr;
}

Control& Form::Need(std::string_view name) const {
  Control* c = Find(name);
  if (!c) Application.Fail("Steuerelement " + std::string(name) + " fehlt in " + desc_.className);
  return *c;
}

Control* Form::FindByWindow(HWND hwnd) const {
  for (auto& c : controls_)
    if (c->hwnd == hwnd) return c.get();
  return nullptr;
}

HWND Form::Item(std::string_view name) const {
  Control* c = Find(name);
  return c ? c->hwnd : nullptr;
}

void Form::OnClick(std::string_view name, std::function<void()> handler) { Need(name).onClick = std::move(handler); }

void Form::OnDrawItem(std::string_view name, std::function<void(const DRAWITEMSTRUCT&)> handler) {
  Need(name).onDrawItem = std::move(handler);
}

void Form::OnTimer(std::string_view name, std::function<void()> handler) { Need(name).onTimer = std::move(handler); }

void Form::SetTimerEnabled(std::string_view name, bool enabled) {
  Control& timer = Need(name);
  const UINT_PTR id = reinterpret_cast<UINT_PTR>(&timer);  // unique while the form lives
  if (enabled)
    SetTimer(hwnd_, id, static_cast<UINT>(timer.desc->interval), nullptr);
  else
    KillTimer(hwnd_, id);
  timer.timerEnabled = enabled;
}

bool Form::TimerEnabled(std::string_view name) const { return Need(name).timerEnabled; }

int Form::Left() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.left;
}
int Form::Top() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.top;
}
int Form::Width() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.right - r.left;
}
int Form::Height() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return r.bottom - r.top;
}
int Form::ClientWidth() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.right;
}
int Form::ClientHeight() const {
  RECT r;
  GetClientRect(hwnd_, &r);
  return r.bottom;
}

void Form::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, width, height, TRUE);
  Layout();
}

int Form::LineOverhang(std::string_view name) const {
  const Control& edit = Need(name);
  RECT room{};
  SendMessageA(edit.hwnd, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
  const SIZE need = TextExtent(edit, ReadWindowText(edit.hwnd), DT_NOPREFIX | DT_EXPANDTABS);
  return std::max(0L, need.cx - (room.right - room.left));
}

void Form::Widen(std::string_view name, int dx, int dw) {
  HWND control = Need(name).hwnd;
  const RECT r = BoundsInParent(control);
  SetWindowPos(control, nullptr, r.left + dx, r.top, r.right - r.left + dw, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetPosition(int left, int top) {
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetCaption(const std::string& caption) { SetWindowTextNamed(hwnd_, caption); }
std::string Form::Caption() const { return ReadWindowText(hwnd_); }

void Form::SetText(std::string_view name, const std::string& text) { SetWindowTextNamed(Need(name).hwnd, text); }

// As a designed form does: a file that cannot be read is reported, the form still stands.
TextLoad Form::SetTextFromFile(std::string_view name, const FileSpan& file, const std::string& shown,
                               const std::string& expectedSha256) {
  std::string bytes;
  const auto text = LoadTextFile(file, &bytes);
  if (!text) {
    Application.ShowError(CannotOpenError(shown));
    return TextLoad::Missing;
  }
  if (!expectedSha256.empty()) {
    if (Sha256Of(bytes) != LowerCase(expectedSha256)) {
      RecordRun({"file damaged: ", shown});
      Application.ShowError(DamagedFileError(shown));
      return TextLoad::Damaged;
    }
  }
  SetText(name, DistributionText(*text));
  return TextLoad::Loaded;
}

std::string Form::Text(std::string_view name) const { return ReadWindowText(Need(name).hwnd); }

void Form::SetVisible(std::string_view name, bool visible) {
  ShowWindow(Need(name).hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

void Form::SetEnabled(std::string_view name, bool enabled) { EnableWindow(Need(name).hwnd, enabled); }

void Form::SetFontColor(std::string_view name, uint32_t color) {
  Control& c = Need(name);
  c.fontColor = color;
  InvalidateRect(c.hwnd, nullptr, TRUE);
}

void Form::Focus(std::string_view name) { SetFocus(Need(name).hwnd); }

bool Form::Checked(std::string_view name) const {
  return SendMessageA(Need(name).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(std::string_view name, bool checked) {
  SendMessageA(Need(name).hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::AddItem(std::string_view name, const std::string& text) {
  const Control& c = Need(name);
  const UINT add = c.desc->kind == ControlKind::ListBox ? LB_ADDSTRING : CB_ADDSTRING;
  SendTextMessage(c.hwnd, add, 0, text);
}

int Form::ItemIndex(std::string_view name) const {
  return static_cast<int>(SendMessageA(Need(name).hwnd, CB_GETCURSEL, 0, 0));
}

void Form::SetItemIndex(std::string_view name, int index) {
  SendMessageA(Need(name).hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// An item's stored text; empty when it cannot be fetched.
std::string Form::ItemText(std::string_view name, int index) const { return ComboBoxEntry(Need(name).hwnd, index); }

void Form::SetGauge(std::string_view name, int position, int maximum) {
  HWND gauge = Need(name).hwnd;
  SendMessageA(gauge, PBM_SETRANGE32, 0, maximum);
  SendMessageA(gauge, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Form::SetTreeLines(std::string_view name, const char* lines) {
  HWND tree = Need(name).hwnd;
  TreeView_DeleteAllItems(tree);
  AddTreeLines(tree, lines);
}

void Form::SelectTreeNode(std::string_view name, int index) {
  HWND tree = Need(name).hwnd;
  if (HTREEITEM item = TreeNode(tree, index)) TreeView_SelectItem(tree, item);
}

void Form::ShowPage(std::string_view book, int index) {
  Control& owner = Need(book);
  int i = 0;
  for (auto& c : controls_) {
    if (c->parent != &owner || c->desc->kind != ControlKind::Page) continue;
    ShowWindow(c->hwnd, i++ == index ? SW_SHOWNA : SW_HIDE);
  }
}

std::string Form::ActivePage(std::string_view book) const {
  Control& owner = Need(book);
  for (auto& c : controls_)
    // The page's own flag: a quiet run walks the pages of a wizard that is never shown.
    if (c->parent == &owner && c->desc->kind == ControlKind::Page && (GetWindowLongA(c->hwnd, GWL_STYLE) & WS_VISIBLE))
      return c->desc->text;
  return {};
}

void Form::Show() {
  FormShow();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  FocusDefault();
}

// A window shown starts with the focus on its default button, else on its first control in
// the tab order, so that the keyboard alone goes on; unless the focus is in it already.
void Form::FocusDefault() {
  if (IsChild(hwnd_, GetFocus())) return;
  Control* first = nullptr;
  for (auto& c : controls_) {
    if (!c->hwnd || c->desc->tabOrder < 0 || !IsWindowVisible(c->hwnd) || !IsWindowEnabled(c->hwnd)) continue;
    if (c->desc->isDefault) {
      first = c.get();
      break;
    }
    if (!first || c->desc->tabOrder < first->desc->tabOrder) first = c.get();
  }
  if (first) SetFocus(first->hwnd);
}

void Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }
bool Form::Visible() const { return IsWindowVisible(hwnd_); }

void Form::BringToFront() {
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

ModalResult Form::ShowModal() {
  std::vector<HWND> disabled;
  std::pair<HWND, std::vector<HWND>*> param{hwnd_, &disabled};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&param));
  EnableWindow(hwnd_, TRUE);
  modalResult_ = mrNone;
  modal_ = true;
  Show();
  SetForegroundWindow(hwnd_);
  MSG msg;
  while (modalResult_ == mrNone) {
    if (!GetNextMessage(msg)) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop ends the program
      modalResult_ = mrCancel;
      break;
    }
    DispatchOneMessage(msg);
  }
  for (HWND w : disabled) EnableWindow(w, TRUE);
  modal_ = false;
  Hide();
  return modalResult_;
}

void Form::Close() {
  if (modal_)
    modalResult_ = mrCancel;
  else if (Application.MainForm == this)
    DestroyWindow(hwnd_);
  else
    Hide();
}

uint32_t Form::BackgroundColor(const Control* control) const {
  for (const Control* c = control; c; c = c->parent) {
    if (c->desc->color != NoColor) return c->desc->color;
    if (c->desc->kind == ControlKind::Panel) return GetSysColor(COLOR_BTNFACE);
    if (c->desc->kind == ControlKind::TreeView || c->desc->kind == ControlKind::Edit ||
        c->desc->kind == ControlKind::Memo)
      return GetSysColor(COLOR_WINDOW);
  }
  return desc_.color != NoColor ? desc_.color : GetSysColor(COLOR_BTNFACE);
}

void Form::PaintBackground(HDC dc) {
  RECT rect;
  GetClientRect(hwnd_, &rect);
  FillRect(dc, &rect, static_cast<HBRUSH>(brush_.Get()));
  FormPaint(dc);
}

void Form::Click(Control& control) {
  if (!IsWindowEnabled(control.hwnd) || !IsWindowVisible(control.hwnd)) return;
  if (control.desc->modalResult != mrNone) modalResult_ = control.desc->modalResult;
  if (control.onClick) control.onClick();
}

Control* Form::ButtonWith(bool (*test)(const ControlDesc&)) const {
  for (auto& c : controls_)
    if (c->desc->kind == ControlKind::Button && test(*c->desc)) return c.get();
  return nullptr;
}

LRESULT Form::OnCommand(WPARAM wParam, LPARAM lParam) {
  HWND child = reinterpret_cast<HWND>(lParam);
  Control* control = child ? FindByWindow(child) : nullptr;
  if (control) {
    if (HIWORD(wParam) == BN_CLICKED &&
        (control->desc->kind == ControlKind::Button || control->desc->kind == ControlKind::CheckBox))
      Click(*control);
    return 0;
  }
  // Enter and Escape, as the dialog manager reports them.
  if (LOWORD(wParam) == IDCANCEL) {
    if (Control* c = ButtonWith([](const ControlDesc& d) { return d.isCancel; })) Click(*c);
  } else if (LOWORD(wParam) == IDOK) {
    // Enter presses the button with the focus, else the default one.
    Control* focused = FindByWindow(GetFocus());
    if (focused && focused->desc->kind == ControlKind::Button)
      Click(*focused);
    else if (Control* c = ButtonWith([](const ControlDesc& d) { return d.isDefault; }))
      Click(*c);
  }
  return 0;
}

// A tree's selection stays in the highlight colours when the tree has no focus.
LRESULT Form::OnNotify(NMHDR& header) {
  if (header.code != NM_CUSTOMDRAW) return 0;
  Control* control = FindByWindow(header.hwndFrom);
  if (!control || control->desc->kind != ControlKind::TreeView) return 0;
  auto& draw = reinterpret_cast<NMTVCUSTOMDRAW&>(header);
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED)) {
    draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
  }
  return CDRF_DODEFAULT;
}

LRESULT Form::OnControlColor(HDC dc, HWND child) {
  Control* control = FindByWindow(child);
  if (!control) return reinterpret_cast<LRESULT>(brush_.Get());
  SetTextColor(dc, control->fontColor);
  SetBkColor(dc, BackgroundColor(control));
  return reinterpret_cast<LRESULT>(control->brush.Get());
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;  // WM_NCDESTROY clears the member
  switch (msg) {
    case WM_COMMAND: return OnCommand(wParam, lParam);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      Control* control = FindByWindow(item->hwndItem);
      if (control && control->desc->kind == ControlKind::Image) DrawImage(*control, *item);
      if (!control || !control->onDrawItem) return TRUE;
      PrepareItemColors(*item, control->font.Get());
      control->onDrawItem(*item);
      return TRUE;
    }
    case WM_TIMER:
      for (auto& c : controls_) {
        if (reinterpret_cast<UINT_PTR>(c.get()) != wParam) continue;
        if (c->onTimer) c->onTimer();
        return 0;
      }
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      PaintBackground(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SIZE: Layout(); return 0;
    case WM_ACTIVATE:
      // Only a change between our forms counts: coming back from a message box does not,
      // or a failing activation handler would show its error box for ever.
      if (LOWORD(wParam) != WA_INACTIVE && activeForm != this) {
        activeForm = this;
        FormActivate();
      }
      // As a dialog does: the focus stays on a control, the one it left when the window
      // was left (a message box in between), never on the window itself.
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (IsChild(hwnd_, GetFocus())) lastFocus_ = GetFocus();
      } else if (!HIWORD(wParam)) {
        if (IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) && IsWindowVisible(lastFocus_) &&
            IsWindowEnabled(lastFocus_))
          SetFocus(lastFocus_);
        else
          FocusDefault();
        return 0;
      }
      break;
    case WM_CLOSE: Close(); return 0;
    case WM_DESTROY:
      if (Application.MainForm == this) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: hwnd_ = nullptr; break;
  }
  return DefaultWindowProc(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* form = reinterpret_cast<Form*>(WindowLongValue(hwnd, GWLP_USERDATA));
  if (!form) return DefaultWindowProc(hwnd, msg, wParam, lParam);
  return form->HandleMessage(msg, wParam, lParam);
}
