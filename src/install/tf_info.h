// The readme viewer: shows Liesmich.txt from the setup folder, loaded at each opening.
#pragma once
#include "ui/form.h"

class Tf_info : public Form {
 public:
  Tf_info();
  // Liesmich.txt into the viewer, checked against the script's checksum when it has one.
  TextLoad LoadReadme();

 protected:
  void FormCreate() override;
  void FormActivate() override;

 private:
  bool loading_ = false;  // the error box's closing activates the viewer again
};

extern Tf_info* f_info;
