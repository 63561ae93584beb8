// The check of a distribution folder before it ships: what would go wrong when SETUP.EXE
// installs from it, and what would surprise the packager.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

struct Finding {
  bool error = false;  // false: a warning
  std::string file;    // the file it concerns, "" for the folder
  int line = 0;        // the line of Setup.lst, 0 when none
  std::string message;
  bool note = false;  // neither: what the packager should know (a valid signature)
};

std::vector<Finding> CheckDistribution(const std::string& dir);
// One line a finding: "Setup.lst:12: error: ..." (the toolkit's console text is UTF-8).
std::string FindingsText(const std::vector<Finding>& findings);
std::string FindingsJson(const std::vector<Finding>& findings);
// 2 with an error, 1 with a warning when strict, else 0.
int CheckExitStatus(const std::vector<Finding>& findings, bool strict);
// What the commands that publish a folder (bundle, pack, manifest) do first: the check, its
// findings written to out; the problem when the folder would not install, else "".
std::string CheckBeforePublishing(const std::string& dir, std::FILE* out);
