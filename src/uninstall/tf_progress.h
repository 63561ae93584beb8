// The copy progress window; the uninstaller relabels it to show deletion progress.
#pragma once
#include "ui/form.h"

// Set by "Abbrechen"; false at start.
extern bool ProgressCancelRequested;

class Tf_Progress : public Form {
 public:
  Tf_Progress();

 protected:
  void FormCreate() override;

 private:
  void bnEscClick();
};

extern Tf_Progress* f_Progress;
