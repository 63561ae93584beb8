// The choice of user for the program group, offered to an administrator.
#pragma once
#include <string>
#include <vector>

#include "ui/form.h"

class Tf_Group : public Form {
 public:
  Tf_Group();

  // Lists the profile folder names in order and preselects the logon user's.
  // commonName: the all-users profile's folder, shown as "Alle Anwender".
  void Fill(const std::vector<std::string>& users, const std::string& logonName, const std::string& commonName);
  // The chosen entry as stored (with its suffix), not as shown.
  std::string SelectedUser() const;

 protected:
  void FormCreate() override;

 private:
  void cbUsersDrawItem(const DRAWITEMSTRUCT& item);

  std::string commonName_;
};
