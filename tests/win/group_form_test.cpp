#include "install/tf_group.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/driver.h"
#include "ui/application.h"

TEST(Tf_Group, ListsTheProfilesInOrderAndPreselectsTheLogonUser) {
  const std::vector<std::string> users = {"All Users", "xjdoe.PC1", "jdoe", "maria"};
  const struct {
    const char* logon;
    const char* selected;
  } rows[] = {{"jdoe", "xjdoe.PC1"}, {"maria", "maria"}, {"hans", "All Users"}};
  for (const auto& row : rows) {
    auto group = CreateForm<Tf_Group>();
    group->Fill(users, row.logon);
    EXPECT_EQ(group->SelectedUser(), row.selected) << row.logon;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(group->ItemText("cbUsers", i), users[i]);
    EXPECT_EQ(group->ItemText("cbUsers", 4), "") << "past the end";
  }
}

TEST(Tf_Group, TheChoiceMadeInTheDialogIsTheStoredName) {
  auto group = CreateForm<Tf_Group>();
  group->Fill({"All Users", "jdoe.PC1"}, "hans");
  std::thread user([] {
    HWND own = WaitForWindow(GetCurrentProcessId(), "Tf_Group");
    HWND combo = FindControl(own, "cbUsers");
    SendMessageA(combo, CB_SETCURSEL, 1, 0);
    Sleep(200);  // let the list paint its owner-drawn entries
    Press(FindControl(own, "BitBtn1"));
  });
  EXPECT_EQ(group->ShowModal(), 1);
  user.join();
  EXPECT_EQ(group->SelectedUser(), "jdoe.PC1");
}
