// The copy progress window; the uninstaller relabels it to show deletion progress, without
// its "Abbrechen".
#pragma once
#include "ui/form.h"

class Tf_Progress : public Form {
 public:
  Tf_Progress();
};

extern Tf_Progress* f_Progress;
