// The start window as the windows it hands over to see it: a step tree that shows where the
// run is, and a place beside that tree. The start window implements it and announces itself;
// until then, and in tests of single windows, there is none and both calls do nothing.
#pragma once
class Form;

class StepHost {
 public:
  // Highlights node n (0-based) of the step tree.
  virtual void SelectStep(int n) = 0;
  // Centres form right of the step tree; vertically over the host's outer height, or its
  // client height where useClientHeight is set.
  virtual void PlaceBesideTree(Form& form, bool useClientHeight) = 0;

 protected:
  ~StepHost() = default;
};

void SetStepHost(StepHost* host);
void ShowStep(int n);
void PlaceBesideSteps(Form& form, bool useClientHeight = false);
