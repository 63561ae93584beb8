#include "install/tf_info.h"

#include "env/paths.h"
#include "env/settings.h"
#include "forms/forms.h"
#include "install/setup_script.h"

using namespace InfoForm;

Tf_info* f_info = nullptr;

Tf_info::Tf_info() : Form(InfoFormDesc) {}

void Tf_info::FormCreate() {
  SetBounds(1, 1, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 50);
}

// Each load replaces what the memo shows; a failure leaves the previous text.
void Tf_info::FormActivate() { LoadReadme(); }

TextLoad Tf_info::LoadReadme() {
  return ShowDistributionText(*this, Memo1, "Liesmich.txt");
}
