#include "uninstall/tf_progress.h"

#include "forms/forms.h"

Tf_Progress* f_Progress = nullptr;

Tf_Progress::Tf_Progress() : Form(ProgressFormDesc) {}
