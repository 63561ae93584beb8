#include "uninstall/tf_ask.h"

#include "env/paths.h"
#include "forms/forms.h"
#include "env/removal_rules.h"
#include "uninstall/uninstall_files.h"

using namespace AskForm;

Tf_Ask::Tf_Ask() : Form(AskFormDesc) {}

void Tf_Ask::Fill(const std::string& dir) {
  SetText(lbInfo, DirectoryQuestionText(dir));
  std::vector<std::string> entries;
  ListTree(AddBackslash(dir) + "*.*", true, entries);
  AddItem(lbFiles, dir);
  for (const std::string& entry : entries) AddItem(lbFiles, entry);
}

// Enter and Escape answer nothing unless a button has the focus.
void Tf_Ask::FormShow() { Focus(lbFiles); }
