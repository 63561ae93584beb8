// The uninstall window: asks to go on or to end.
#pragma once
#include "ui/form.h"

class Tf_Uninstal : public Form {
 public:
  Tf_Uninstal();

 protected:
  void FormCreate() override;

 private:
  void Button2Click();
};

extern Tf_Uninstal* f_Uninstal;
