// Every designed text fits its control with the font it is drawn with, at 96, 120 and 144
// pixels per inch: the fonts are made as the window layer makes them, at each scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms/forms.h"

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

// What does not fit, or "".
std::string Misfit(const FormDesc& form, const ControlDesc& c, int ppi) {
  const auto scale = [&](int pixels) { return MulDiv(pixels, ppi, form.designPpi); };
  const FontDesc& font = FontOf(form, c);
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT made = CreateFontA(-scale(font.height), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, font.face);
  HGDIOBJ old = SelectObject(dc, made);
  const bool wrap = c.kind == ControlKind::Label && c.wordWrap, tree = c.kind == ControlKind::TreeView;
  RECT need = {0, 0, scale(c.width), 0};
  DrawTextA(dc, c.text, -1, &need,
            DT_CALCRECT | DT_NOPREFIX * (c.kind == ControlKind::Label) | (wrap ? DT_WORDBREAK : tree ? 0 : DT_SINGLELINE));
  SelectObject(dc, old);
  DeleteObject(made);
  DeleteDC(dc);
  int room = scale(c.width);
  if (c.kind == ControlKind::TreeView) {  // each line a node, indented once, in its docked panel
    for (const ControlDesc& other : form.controls)
      if (c.parent && std::string(other.name) == c.parent) room = scale(other.width);
    room -= 2 * scale(c.indent) + 2 * GetSystemMetrics(SM_CXEDGE);
  }
  if (c.kind == ControlKind::CheckBox) room -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
  if (c.kind == ControlKind::Button) room -= 8;
  std::string misfit;
  if (need.right > room) misfit += " width " + std::to_string(need.right) + " > " + std::to_string(room);
  if (!tree && need.bottom > scale(c.height))
    misfit += " height " + std::to_string(need.bottom) + " > " + std::to_string(scale(c.height));
  return misfit;
}
}  // namespace

TEST(FormText, EveryDesignedTextFitsAtEachScale) {
  for (const FormDesc* form : {&SetupFormDesc, &AktionFormDesc, &UninstalFormDesc, &InfoFormDesc, &MoreFormDesc,
                               &ProgressFormDesc, &GroupFormDesc, &AskFormDesc})
    for (const ControlDesc& c : form->controls) {
      const bool texted = c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox || c.kind == ControlKind::Button;
      if (!(texted && c.width) && c.kind != ControlKind::TreeView) continue;
      for (const int ppi : {96, 120, 144})
        if (const std::string misfit = Misfit(*form, c, ppi); !misfit.empty())
          ADD_FAILURE() << form->className << "." << c.name << " at " << ppi << ":" << misfit << " \"" << c.text << "\"";
    }
}
