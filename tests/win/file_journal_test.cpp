#include "env/system_names.h"
#include "install/file_journal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "env/paths.h"
#include "env/settings.h"
#include "tests/win/win_test_util.h"
#include "transfer/work_folder.h"

// A quiet run's files: replaced, added and taken away, then all put back, or kept for good;
// one held open without sharing waits for the restart. In the installation directory a
// replaced file is kept by a second name in the run's work folder, and the new one is in
// place at once; elsewhere it is moved aside beside itself.
TEST(FileJournal, UndoPutsEverythingBackAndCommitLeavesNothingAside) {
  for (const bool inInstallDir : {false, true})
    for (const bool undo : {true, false}) {
      SCOPED_TRACE(std::string(undo ? "undo" : "commit") + (inInstallDir ? ", in the installation directory" : ""));
      TempFolder temp("journal");
      InstallDir = inInstallDir ? temp.Path() : "";
      std::vector<std::string> logged;
      FileJournal journal([&](const std::string& path, bool) {
        logged.push_back(path);
        return true;
      });
      const std::string replaced = temp.File("a.exe", "alt"), added = temp.Path() + "b.txt";
      const std::string dropped = temp.File("c.txt", "nur in 1.0"), held = temp.File("d.dll", "gehalten");
      const auto place = [&](const std::string& target, const std::string& content) {
        const std::string temporary = temp.File("cpy" + std::to_string(logged.size()) + ".tmp", content);
        const Placement placement = journal.Place(temporary, target, FileAttributes(target));
        EXPECT_TRUE(placement != Placement::Move || MoveFileExNamed(temporary, target, MOVEFILE_REPLACE_EXISTING));
        return placement;
      };
      EXPECT_EQ(place(replaced, "neu"), inInstallDir ? Placement::Done : Placement::Move);
      EXPECT_EQ(FileText(replaced), "neu");
      EXPECT_EQ(place(added, "neu"), Placement::Move);
      EXPECT_TRUE(journal.KeepAside(dropped));
      EXPECT_FALSE(Exists(dropped));
      KernelHandle open = FromCreateFile(CreateFileNamed(held, GENERIC_READ, 0, OPEN_EXISTING, 0));
      EXPECT_EQ(place(held, "neu"), Placement::Done);
      EXPECT_TRUE(journal.RestartNeeded());
      ASSERT_EQ(journal.Leftovers().size(), 1u);
      const std::string waiting = journal.Leftovers()[0];
      EXPECT_EQ(FileText(waiting), "neu");
      // Every name on the disk is logged before it is there: the two kept aside and the waiting one
      // (and the name the held file could not be moved to).
      std::vector<std::string> onDisk = journal.Kept();
      EXPECT_GE(onDisk.size(), 2u);
      for (const std::string& kept : onDisk) EXPECT_TRUE(IsKeptFileName(ExtractFileName(kept))) << kept;
      onDisk.push_back(waiting);
      for (const std::string& path : onDisk)
        EXPECT_NE(std::find(logged.begin(), logged.end(), path), logged.end()) << path << " is not logged";
      if (undo) {
        journal.Undo();
        EXPECT_EQ(FileText(replaced), "alt");
        EXPECT_FALSE(Exists(added));
        EXPECT_EQ(FileText(dropped), "nur in 1.0");
        EXPECT_FALSE(Exists(waiting)) << "the waiting file goes";
        EXPECT_FALSE(journal.RestartNeeded());
      } else {
        journal.Commit();
        EXPECT_EQ(FileText(replaced), "neu");
        EXPECT_EQ(FileText(added), "neu");
        // What could not go yet (a second name of the held file) waits for the restart.
        for (const std::string& kept : journal.Kept()) EXPECT_TRUE(Exists(kept)) << kept;
      }
      open.Reset();
      // Only a name of the held file may wait for the restart.
      for (const std::string& kept : onDisk) {
        if (kept == waiting || !Exists(kept)) continue;
        EXPECT_EQ(FileText(kept), "gehalten") << kept << " is left";
      }
      // The system's own list would move the waiting file at the restart; the test takes it off.
      for (const std::string& path : logged) DeleteFileNamed(path);
      RemoveWorkFolders();
      std::vector<std::string> left;
      for (const std::string& name : Entries(temp.Path() + "*"))
        if (name.starts_with("~")) left.push_back(name);
      EXPECT_TRUE(left.empty()) << left.front() << " is left";
    }
  InstallDir.clear();
  for (const char* name : {"~up1A2B.tmp", "~UP9.TMP"}) EXPECT_TRUE(IsKeptFileName(name)) << name;
  for (const char* name : {"~up.tmp", "up12.tmp", "~up12.txt", "a~up12.tmp"}) EXPECT_FALSE(IsKeptFileName(name)) << name;
}
