// A form: a top-level window built from its description, with named controls whose
// events go to handlers that the form's class binds by name.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "env/file_span.h"
#include "env/handles.h"
#include "forms/form_desc.h"

struct Control {
  const ControlDesc* desc = nullptr;
  HWND hwnd = nullptr;        // none for timers
  Control* parent = nullptr;  // nullptr: the form
  class Form* form = nullptr;
  GdiObject font;
  GdiObject brush;  // background, for the colour messages
  std::function<void()> onClick;
  std::function<void(const DRAWITEMSTRUCT&)> onDrawItem;
  std::function<void()> onTimer;
  bool timerEnabled = false;
  bool autoSize = false;
  uint32_t fontColor = clBlack;
};

// What became of a text file loaded for display.
enum class TextLoad { Loaded, Missing, Damaged };

class Form {
 public:
  explicit Form(const FormDesc& desc);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Builds the window and its controls, then runs FormCreate.
  void Create();

  HWND Handle() const { return hwnd_; }
  const FormDesc& Desc() const { return desc_; }
  HWND Item(std::string_view name) const;

  // Handlers, bound to described controls by name.
  void OnClick(std::string_view name, std::function<void()> handler);
  void OnDrawItem(std::string_view name, std::function<void(const DRAWITEMSTRUCT&)> handler);
  void OnTimer(std::string_view name, std::function<void()> handler);
  void SetTimerEnabled(std::string_view name, bool enabled);
  bool TimerEnabled(std::string_view name) const;

  // Outer geometry in screen pixels; client sizes of the window's inside.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  int ClientWidth() const;
  int ClientHeight() const;
  void SetBounds(int left, int top, int width, int height);
  void SetPosition(int left, int top);

  void SetCaption(const std::string& caption);
  std::string Caption() const;
  void SetText(std::string_view name, const std::string& text);
  // The text file's lines. When it cannot be opened, or its bytes are not the expected ones
  // (SHA-256 in hex, when given), the general error box says so and the control keeps its text.
  // shown names the file in those messages.
  TextLoad SetTextFromFile(std::string_view name, const FileSpan& file, const std::string& shown,
                           const std::string& expectedSha256 = {});
  std::string Text(std::string_view name) const;
  void SetVisible(std::string_view name, bool visible);
  void SetEnabled(std::string_view name, bool enabled);
  void SetFontColor(std::string_view name, uint32_t color);
  void Focus(std::string_view name);
  bool Checked(std::string_view name) const;
  void SetChecked(std::string_view name, bool checked);

  // Combo boxes (and list boxes for AddItem): items in the order added, addressed by
  // 0-based index.
  void AddItem(std::string_view name, const std::string& text);
  int ItemIndex(std::string_view name) const;
  void SetItemIndex(std::string_view name, int index);
  std::string ItemText(std::string_view name, int index) const;

  // Gauges: the bar shows position out of maximum.
  void SetGauge(std::string_view name, int position, int maximum);

  // Tree views: nodes are addressed by their 0-based index over all nodes.
  // The tree's nodes replaced by the lines of text, one node each.
  void SetTreeLines(std::string_view name, const char* lines);
  void SelectTreeNode(std::string_view name, int index);

  // Page books: pages are found by their captions.
  void ShowPage(std::string_view book, int index);
  std::string ActivePage(std::string_view book) const;

  void Show();
  // The focus on the default button, else the first control in the tab order, unless it is
  // on a control of the window already.
  void FocusDefault();
  void Hide();
  bool Visible() const;
  void BringToFront();
  // Shows the form while every other window of the program is disabled, until a modal
  // result is set; returns it (mrCancel when closed).
  ModalResult ShowModal();
  void SetModalResult(ModalResult result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }
  // Modal: ends with mrCancel. The main form: ends the program. Others: hides.
  void Close();

  // Paints what lies under the controls; transparent labels draw it beneath their text.
  void PaintBackground(HDC dc);
  uint32_t BackgroundColor(const Control* control) const;
  int Scale(int designPixels) const;
  // Pixels by which the widest line of a multi-line edit's text exceeds the width it wraps
  // at; 0 when every line fits.
  int LineOverhang(std::string_view name) const;
  // Moves a control right by dx and widens it by dw pixels: a form grown for a text.
  void Widen(std::string_view name, int dx, int dw);

 protected:
  virtual void FormCreate() {}
  virtual void FormShow() {}
  virtual void FormActivate() {}
  virtual void FormPaint(HDC) {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColor(HDC dc, HWND child);
  LRESULT OnNotify(NMHDR& header);
  void CreateControls();
  void Layout();
  Control* Find(std::string_view name) const;
  Control& Need(std::string_view name) const;
  Control* FindByWindow(HWND hwnd) const;
  Control* ButtonWith(bool (*test)(const ControlDesc&)) const;
  void Click(Control& control);

  const FormDesc& desc_;
  HWND hwnd_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  GdiObject font_;
  GdiObject brush_;
  ModalResult modalResult_ = mrNone;
  bool modal_ = false;
  HWND lastFocus_ = nullptr;  // the control the focus left when the window was left
};

// Constructs a form class and builds its window, as the program creates its forms.
template <typename F, typename... Args>
std::unique_ptr<F> CreateForm(Args&&... args) {
  auto form = std::make_unique<F>(std::forward<Args>(args)...);
  form->Create();
  return form;
}
