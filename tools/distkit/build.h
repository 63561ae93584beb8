// Building a distribution folder ready to ship from a packager's source folder.
#pragma once
#include <string>

// Builds dest from src (its Setup.lst, texts and uncompressed program files) with setupExe
// as SETUP.EXE, then checks it. Returns "" when dest is ready; else the problem, with dest
// as it was before.
std::string BuildDistribution(const std::string& src, const std::string& dest, const std::string& setupExe);
// Where SETUP.EXE is found when no --setup-exe is given: beside the toolkit, or in the
// 32-bit build of this source tree.
std::string DefaultSetupExe(const std::string& toolkitPath);
