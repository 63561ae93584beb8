#include "ui/steps.h"

namespace {
StepHost* stepHost = nullptr;
}  // namespace

void SetStepHost(StepHost* host) { stepHost = host; }

void ShowStep(int n) {
  if (stepHost) stepHost->SelectStep(n);
}

void PlaceBesideSteps(Form& form, bool useClientHeight) {
  if (stepHost) stepHost->PlaceBesideTree(form, useClientHeight);
}
