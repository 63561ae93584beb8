// One distribution file into its target: when the log cannot name it, it never lies in place.
#include "env/system_names.h"
#include "transfer/copy_install_file.h"

#include <gtest/gtest.h>

#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "env/settings.h"
#include "lzh_encoder.h"
#include "tests/win/win_test_util.h"
#include "transfer/work_folder.h"
#include "uninstall/uninstall_files.h"

namespace {
struct FakeView : CopyView {
  bool logWorks = true;
  std::vector<std::string> recorded;
  FileContent content;
  int notPlaced = 0;
  void NotPlaced(const std::string&) override { ++notPlaced; }
  void ShowPaths(const std::string&, const std::string&) override {}
  void ShowNow() override {}
  bool Record(const std::string& target, const FileContent& written) override {
    recorded.push_back(target);
    content = written;
    return logWorks;
  }
};
}  // namespace

// Also: what the log records of a file is what lies in place, taken in the pass that wrote it;
// and a file that could not take its place (a folder of its name) is taken back, skipped.
TEST(CopyInstallFile, AFileTheLogCannotNameStaysOutOfPlaceAndNothingIsAsked) {
  TempFolder root("copy_install");
  const std::string dist = root.Folder("dist\\"), target = root.Folder("ziel\\");
  const std::vector<uint8_t> packed = lzh::Compress(std::vector<uint8_t>(5000, 'a'));
  root.File("dist\\ADRESSEN.EXE", "plain");
  root.File("dist\\ADRHELP.DL_", std::string(packed.begin(), packed.end()));
  QuietMode = true;  // a question would be answered without a window, and be wrong
  InstallDir = target;
  enum Case { NotLogged, Logged, Blocked };
  for (const char* name : {"ADRESSEN.EXE", "ADRHELP.DL_"})
    for (const Case c : {NotLogged, Logged, Blocked}) {
      SCOPED_TRACE(std::string(name) + " case " + std::to_string(c));
      if (c == Blocked) CreateDirectoryNamed(target + MapCompressedName(name));
      FakeView view;
      view.logWorks = c != NotLogged;
      FileSkipped = false;
      EXPECT_EQ(CopyInstallFile(name, name, dist, target, view), c != NotLogged);
      EXPECT_EQ(view.recorded.size(), 1u);
      EXPECT_EQ(FileSkipped, c == Blocked) << "a retry question only for the blocked target";
      EXPECT_EQ(view.notPlaced, c == Blocked ? 1 : 0);
      RemoveWorkFolders();
      std::vector<std::string> present;
      ListTree(target + "*.*", false, present);
      EXPECT_EQ(present.size(), c == NotLogged ? 0u : 1u) << "no temporary file or work folder left";
      if (c == Logged) {
        const std::string installed = FileText(present.at(0));
        EXPECT_EQ(view.content.size, installed.size());
        EXPECT_EQ(view.content.sha256, Sha256Of(installed));
      }
      DeleteTree(target);
      CreateDirectoryNamed(target);
    }
  QuietMode = false;
}
