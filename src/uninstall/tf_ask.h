// The question before the program directory is deleted, with everything it holds listed.
#pragma once
#include <string>
#include <vector>

#include "ui/form.h"

class Tf_Ask : public Form {
 public:
  Tf_Ask();
  // The question for dir, and dir's entries under it in the list.
  void Fill(const std::string& dir);

 protected:
  void FormShow() override;
};
