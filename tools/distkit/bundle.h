// One file to download: SETUP.EXE with a checked distribution folder appended.
#pragma once
#include <string>

#include "build.h"

// Writes the distribution folder dest as the program out: dest's SETUP.EXE, without its
// signature, with every file of dest appended (SETUP.EXE too, signed as it is, which becomes
// the uninstaller); then signs out when a certificate is given. Returns "" when out is
// ready; else the problem, and no out is written.
std::string BundleDistribution(const std::string& dest, const std::string& out, const SigningOptions& signing);
