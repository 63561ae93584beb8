// Every designed text fits its control, judged by its inked pixels, with the font it is drawn with, at 96, 120 and 144
// pixels per inch: the fonts made by the window layer's MakeFont, at each scale.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "forms/forms.h"
#include "tests/win/text_fit.h"

namespace {
// The room a control is designed with; a tree view's is one node's line, indented once, in its
// docked panel.
SIZE DesignedRoom(const FormDesc& form, const ControlDesc& c, int ppi) {
  const auto scale = [&](int pixels) { return MulDiv(pixels, ppi, form.designPpi); };
  SIZE room = {scale(c.width), scale(c.height)};
  if (c.kind == ControlKind::TreeView) {
    for (const ControlDesc& other : form.controls)
      if (c.parent && std::string(other.name) == c.parent) room.cx = scale(other.width);
    room.cx -= 2 * scale(c.indent) + 2 * GetSystemMetrics(SM_CXEDGE);
  }
  return room;
}
}  // namespace

TEST(FormText, EveryDesignedTextFitsAtEachScale) {
  for (const FormDesc* form :
       {&SetupFormDesc, &AktionFormDesc, &UninstalFormDesc, &InfoFormDesc, &MoreFormDesc, &ProgressFormDesc, &GroupFormDesc, &AskFormDesc})
    for (const ControlDesc& c : form->controls) {
      const bool texted = c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox || c.kind == ControlKind::Button;
      if (!(texted && (c.width || c.kind == ControlKind::Label)) && c.kind != ControlKind::TreeView) continue;
      for (const int ppi : {96, 120, 144})
        // The start window's tree shows the uninstaller's steps too.
        for (const char* text : {c.text, form == &SetupFormDesc && c.kind == ControlKind::TreeView ? UninstallSteps : ""})
          if (const std::string misfit = Misfit(*form, c, text, DesignedRoom(*form, c, ppi), ppi); !misfit.empty())
            ADD_FAILURE() << form->className << "." << c.name << " at " << ppi << ":" << misfit << " \"" << text << "\"";
    }
}
