// The options dialog: a desktop shortcut and a Start-menu entry, on request.
#pragma once
#include "ui/form.h"

class Tf_more : public Form {
 public:
  Tf_more();

 protected:
  void FormCreate() override;
};

extern Tf_more* f_more;
