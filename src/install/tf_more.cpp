#include "install/tf_more.h"

#include "forms/forms.h"
#include "ui/steps.h"

Tf_more* f_more = nullptr;

Tf_more::Tf_more() : Form(MoreFormDesc) {}

void Tf_more::FormCreate() { PlaceBesideSteps(*this, true); }
