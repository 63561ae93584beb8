// The start window: program name over the gradient, the step tree, and the hand-over
// to the install wizard or the uninstall window.
#pragma once
#include "env/handles.h"
#include "ui/form.h"

class Tf_Aktion;

class Tf_Setup : public Form {
 public:
  Tf_Setup();
  // Highlights node n (0-based) of the step tree.
  void SelectStep(int n);
  // Centres a window right of the step tree; vertically over the start window's outer
  // height, or its client height where useClientHeight is set.
  void PlaceBesideTree(Form& form, bool useClientHeight = false);

 protected:
  void FormCreate() override;
  void FormPaint(HDC dc) override;

 private:
  void Timer1Timer();
  void AutoTimerTimer();
  void PrepareGradient();
  void ReadControlFile(const std::string& controlFile);
  void ProposePreviousInstallation();

  bool UseGradient = false;
  GdiObject GradientStrip;  // 1 x 256 pixels, navy at the top to black at the bottom
  Tf_Aktion* wizard_ = nullptr;  // while it is shown, for the unattended run
};

extern Tf_Setup* f_Setup;
