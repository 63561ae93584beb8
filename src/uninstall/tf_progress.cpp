#include "uninstall/tf_progress.h"

#include "forms/forms.h"

using namespace ProgressForm;

bool ProgressCancelRequested = false;
Tf_Progress* f_Progress = nullptr;

Tf_Progress::Tf_Progress() : Form(ProgressFormDesc) {}

void Tf_Progress::FormCreate() {
  OnClick(bnEsc, [this] { bnEscClick(); });
}

void Tf_Progress::bnEscClick() { ProgressCancelRequested = true; }
