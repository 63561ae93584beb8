// One distribution file into its target: when the log cannot name it, it never lies in place.
#include "env/system_names.h"
#include "transfer/copy_install_file.h"

#include <gtest/gtest.h>

#include "codec/sha256.h"
#include "env/settings.h"
#include "lzh_encoder.h"
#include "tests/win/win_test_util.h"
#include "uninstall/uninstall_files.h"

namespace {
struct FakeView : CopyView {
  bool logWorks = true;
  std::vector<std::string> recorded;
  FileContent content;
  void ShowPaths(const std::string&, const std::string&) override {}
  void ShowNow() override {}
  bool Record(const std::string& target, const FileContent& written) override {
    recorded.push_back(target);
    content = written;
    return logWorks;
  }
};
}  // namespace

// Also: what the log records of a file is what lies in place, taken in the pass that wrote it.
TEST(CopyInstallFile, AFileTheLogCannotNameStaysOutOfPlaceAndNothingIsAsked) {
  TempFolder root("copy_install");
  const std::string dist = root.Folder("dist\\"), target = root.Folder("ziel\\");
  const std::vector<uint8_t> packed = lzh::Compress(std::vector<uint8_t>(5000, 'a'));
  root.File("dist\\ADRESSEN.EXE", "plain");
  root.File("dist\\ADRHELP.DL_", std::string(packed.begin(), packed.end()));
  QuietMode = true;  // a question would be answered without a window, and be wrong
  InstallDir = target;
  for (const char* name : {"ADRESSEN.EXE", "ADRHELP.DL_"})
    for (const bool logWorks : {false, true}) {
      SCOPED_TRACE(std::string(name) + (logWorks ? " logged" : " not logged"));
      FakeView view;
      view.logWorks = logWorks;
      FileSkipped = false;
      EXPECT_EQ(CopyInstallFile(name, name, dist, target, view), logWorks);
      EXPECT_EQ(view.recorded.size(), 1u);
      EXPECT_FALSE(FileSkipped) << "no retry question";
      std::vector<std::string> present;
      ListTree(target + "*.*", false, present);
      EXPECT_EQ(present.size(), logWorks ? 1u : 0u) << "no temporary file left";
      if (logWorks) {
        const std::string installed = FileText(present.at(0));
        EXPECT_EQ(view.content.size, installed.size());
        EXPECT_EQ(view.content.sha256, Sha256Of(installed));
      }
      DeleteTree(target);
      CreateDirectoryNamed(target);
    }
  QuietMode = false;
}
