// The toolkit's commands on one file each; they return a one-line problem, or "" when done.
#pragma once
#include <string>

std::string CompressCommand(const std::string& file, const std::string& outputDir);
std::string ExpandCommand(const std::string& file, const std::string& outputDir);
// The compressed name of an installed file name ("" when its extension is not 3 characters).
std::string CompressedNameFor(const std::string& name);
