#include "install/tf_more.h"

#include "app/tf_setup.h"
#include "forms/forms.h"

Tf_more* f_more = nullptr;

Tf_more::Tf_more() : Form(MoreFormDesc) {}

void Tf_more::FormCreate() {
  if (f_Setup) f_Setup->PlaceBesideTree(*this, true);
}
