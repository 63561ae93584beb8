// A distribution folder made fresh for one scenario, with the built SETUP.EXE in it.
#pragma once
#include <string>
#include <vector>

#include "tests/e2e/driver.h"

class Distribution {
 public:
  // C:\e2e\<name>\, emptied first.
  explicit Distribution(const std::string& name);
  const std::string& Dir() const { return dir_; }  // ends in "\"
  // The SETUP.EXE of this build, under the given file name.
  void AddSetupExe(const std::string& fileName = "SETUP.EXE") const;
  // A file of the example distribution (examples/), under its own or another name.
  void AddExample(const std::string& name, const std::string& as = "") const;
  void AddFile(const std::string& name, const std::string& content) const;
  void Folder(const std::string& name) const;
  // A file in the distribution's compressed form: content compressed under name (".EX_").
  void AddCompressed(const std::string& name, const std::string& content) const;
  Program Start(const std::string& fileName = "SETUP.EXE", const std::string& arguments = "",
                const std::vector<std::string>& environment = {}) const;

 private:
  std::string dir_;
};

// Where the scenario's pictures go (BMP; the test script turns them into PNG).
void SaveScreenshot(const Screenshot& shot, const std::string& name);
// Removes a folder and everything in it.
void RemoveFolder(const std::string& dir);
