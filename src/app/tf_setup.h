// The start window: program name over the gradient, the step tree, and the hand-over
// to the install wizard or the uninstall window.
#pragma once
#include <string>

#include "env/handles.h"
#include "ui/form.h"
#include "ui/steps.h"

class Tf_Aktion;

class Tf_Setup : public Form {
 public:
  Tf_Setup();
  // Highlights node n (0-based) of the step tree.
  void SelectStep(int n);
  // Centres a window right of the step tree; vertically over the start window's outer
  // height, or its client height where useClientHeight is set.
  void PlaceBesideTree(Form& form, bool useClientHeight);
  // The step tree as the windows it hands over see it. A member rather than a second base:
  // a class of two bases would pull the runtime's larger type information into SETUP.EXE.
  StepHost& StepTree() { return stepTree_; }
  // The run begins when the start window has been seen for a moment; unattended, at once.
  void Start();

 protected:
  void FormCreate() override;
  void FormPaint(HDC dc) override;

 private:
  void Timer1Timer();
  // The install wizard or the uninstall window, until it is done.
  void RunWindow();
  void AutoTimerTimer();
  void PrepareGradient();
  void ReadControlFile(const std::string& controlFile);
  void TakeRunLockOrHalt();
  [[noreturn]] void HaltWithMessage(const std::string& text, int code);
  void ProposePreviousInstallation();
  void RefuseDowngrade();

  std::string installedVersion_;  // the registered "DisplayVersion" of an earlier installation
  std::string offeredVersion_;    // "General"/"Version" of the control file
  bool UseGradient = false;
  GdiObject GradientStrip;       // 1 x 256 pixels, navy at the top to black at the bottom
  Tf_Aktion* wizard_ = nullptr;  // while it is shown, for the unattended run
  struct Host : StepHost {
    explicit Host(Tf_Setup& owner) : setup(owner) {}
    void SelectStep(int n) override { setup.SelectStep(n); }
    void PlaceBesideTree(Form& form, bool useClientHeight) override { setup.PlaceBesideTree(form, useClientHeight); }
    Tf_Setup& setup;
  } stepTree_{*this};
};
