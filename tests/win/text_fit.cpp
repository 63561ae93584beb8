#include "tests/win/text_fit.h"

#include "ui/controls.h"

namespace {
const FontDesc& FontOf(const FormDesc& form, const ControlDesc& control) {
  for (const ControlDesc* c = &control; c;) {
    if (c->font.face) return c->font;
    const ControlDesc* parent = nullptr;
    for (const ControlDesc& other : form.controls)
      if (c->parent && std::string(other.name) == c->parent) parent = &other;
    c = parent;
  }
  return form.font;
}
}  // namespace

std::string Misfit(const FormDesc& form, const ControlDesc& c, const char* text, SIZE room, int ppi) {
  const FontDesc& font = FontOf(form, c);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT made = MakeFont(font, MulDiv(font.height, ppi, form.designPpi));
  HGDIOBJ old = SelectObject(dc, made);
  const bool wrap = c.kind == ControlKind::Label && c.wordWrap, tree = c.kind == ControlKind::TreeView;
  // The check mark as big as at the program's scaling, not this one's.
  if (c.kind == ControlKind::CheckBox) room.cx -= MulDiv(GetSystemMetrics(SM_CXMENUCHECK), ppi, GetDeviceCaps(dc, LOGPIXELSY)) + 4;
  if (c.kind == ControlKind::Button) room.cx -= 8;
  if (c.kind == ControlKind::Panel) room.cx -= 4;  // its bevel
  RECT need = {0, 0, room.cx, 0};
  DrawTextNamed(dc, text, need,
            DT_CALCRECT | DT_NOPREFIX * (c.kind == ControlKind::Label) | (wrap ? DT_WORDBREAK : tree ? 0 : DT_SINGLELINE));
  SelectObject(dc, old);
  DeleteObject(made);
  DeleteDC(dc);
  std::string misfit;
  if (need.right > room.cx) misfit += " width " + std::to_string(need.right) + " > " + std::to_string(room.cx);
  if (!tree && need.bottom > room.cy)
    misfit += " height " + std::to_string(need.bottom) + " > " + std::to_string(room.cy);
  return misfit;
}
