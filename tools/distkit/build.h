// Building a distribution folder ready to ship from a packager's source folder.
#pragma once
#include <filesystem>
#include <optional>
#include <string>

// The certificate SETUP.EXE is signed with, when one is given.
struct SigningOptions {
  std::string certificate;   // a PKCS#12 file
  std::string passwordFile;  // its password, when it has one
  std::string timestampUrl;  // a time-stamp server, when wanted
};

// Builds dest from src (its Setup.lst, texts and uncompressed program files) with setupExe
// as SETUP.EXE (signed, when a certificate is given), then checks it. Returns "" when dest
// is ready; else the problem, with dest as it was before.
std::string BuildDistribution(const std::string& src, const std::string& dest, const std::string& setupExe,
                              const SigningOptions& signing = {});
// Where SETUP.EXE is found when no --setup-exe is given: beside the toolkit's own file (links
// followed), or in the 32-bit build of this source tree.
std::string DefaultSetupExe(const std::string& toolkitPath);
// The time every file of a reproducible release gets: SOURCE_DATE_EPOCH, when set; a value
// that is no number of seconds is a problem.
std::optional<std::filesystem::file_time_type> ReleaseTime(std::string& problem);
