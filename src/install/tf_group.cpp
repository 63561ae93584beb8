#include "install/tf_group.h"

#include "forms/forms.h"
#include "install/user_choice.h"
#include "ui/system_window.h"

using namespace GroupForm;

Tf_Group::Tf_Group() : Form(GroupFormDesc) {}

void Tf_Group::FormCreate() {
  OnDrawItem(cbUsers, [this](const DRAWITEMSTRUCT& item) { cbUsersDrawItem(item); });
}

void Tf_Group::Fill(const std::vector<std::string>& users, const std::string& logonName,
                    const std::string& commonName) {
  commonName_ = commonName;
  for (const std::string& user : users) AddItem(cbUsers, user);
  SetItemIndex(cbUsers, PreselectedUser(users, logonName));
}

std::string Tf_Group::SelectedUser() const {
  const int index = ItemIndex(cbUsers);
  return index < 0 ? std::string() : ItemText(cbUsers, index);
}

// The combo box has chosen the colours for a highlighted entry already.
void Tf_Group::cbUsersDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  RECT rect = item.rcItem;
  FillRect(item.hDC, &rect, static_cast<HBRUSH>(GetCurrentObject(item.hDC, OBJ_BRUSH)));
  const std::string text = DisplayedUserName(ItemText(cbUsers, static_cast<int>(item.itemID)), commonName_);
  TextOutNamed(item.hDC, rect.left + 2, rect.top, text);
}
