#include "install/tf_info.h"

#include "env/paths.h"
#include "env/settings.h"
#include "forms/forms.h"
#include "install/setup_script.h"

using namespace InfoForm;

Tf_info* f_info = nullptr;

Tf_info::Tf_info() : Form(InfoFormDesc) {}

void Tf_info::FormCreate() { SetBounds(1, 1, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 50); }

// Each load replaces what the memo shows; after a failure (reported) the viewer closes rather
// than show a text that is not the readme.
void Tf_info::FormActivate() {
  if (loading_) return;
  loading_ = true;
  const bool shown = LoadReadme() == TextLoad::Loaded;
  loading_ = false;
  if (!shown) SetModalResult(mrCancel);
}

TextLoad Tf_info::LoadReadme() { return ShowDistributionText(*this, Memo1, "Liesmich.txt"); }
