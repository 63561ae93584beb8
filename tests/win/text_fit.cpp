#include "tests/win/text_fit.h"

#include <algorithm>
#include <cstdint>

#include "ui/controls.h"
#include "ui/system_window.h"

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

POINT InkReach(HFONT font, const std::string& text, int width, UINT format) {
  constexpr int Width = 2000, Height = 600;
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  auto* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + Width * Height, 0xFFFFFFu);
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  RECT rect = {0, 0, width, Height};
  DrawTextNamed(dc, text, rect, format | DT_NOCLIP);
  GdiFlush();
  POINT reach = {0, 0};
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      if ((pixels[y * Width + x] & 0xFFFFFFu) != 0xFFFFFFu) reach = {std::max<LONG>(reach.x, x + 1), y + 1};
  SelectObject(dc, oldFont);
  DeleteObject(SelectObject(dc, oldBitmap));
  DeleteDC(dc);
  return reach;
}

std::string Misfit(const FormDesc& form, const ControlDesc& c, const char* text, SIZE room, int ppi) {
  const FontDesc& font = FontOf(form, c);
  HFONT made = MakeFont(font, MulDiv(font.height, ppi, form.designPpi));
  const bool wrap = c.kind == ControlKind::Label && c.wordWrap, tree = c.kind == ControlKind::TreeView;
  const UINT format = DT_NOPREFIX * (c.kind == ControlKind::Label) | (wrap ? DT_WORDBREAK : tree ? 0 : DT_SINGLELINE);
  // A label without a width sizes itself to its text.
  if (c.kind == ControlKind::Label && !c.width) room = DrawnTextSize(made, text, 0, format);
  // The check mark as big as at the program's scaling, not this one's.
  HDC screen = GetDC(nullptr);
  if (c.kind == ControlKind::CheckBox) room.cx -= MulDiv(GetSystemMetrics(SM_CXMENUCHECK), ppi, GetDeviceCaps(screen, LOGPIXELSY)) + 4;
  ReleaseDC(nullptr, screen);
  if (c.kind == ControlKind::Button) room.cx -= 8;
  if (c.kind == ControlKind::Panel) room.cx -= 4;  // its bevel
  // The lines of a tree's node each on their own.
  POINT need = {0, 0};
  const std::string all = text;
  for (size_t start = 0; start <= all.size();) {
    const size_t end = tree ? std::min(all.find('\n', start), all.size()) : all.size();
    const POINT ink = InkReach(made, all.substr(start, end - start), room.cx, format);
    need = {std::max(need.x, ink.x), std::max(need.y, ink.y)};
    start = end + 1;
  }
  DeleteObject(made);
  std::string misfit;
  if (need.x > room.cx) misfit += " width " + std::to_string(need.x) + " > " + std::to_string(room.cx);
  if (!tree && need.y > room.cy) misfit += " height " + std::to_string(need.y) + " > " + std::to_string(room.cy);
  return misfit;
}
