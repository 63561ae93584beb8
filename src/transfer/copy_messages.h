// The copy step's questions and messages. Portable.
#pragma once
#include <string>

// The plain copy failed: try again?
std::string CopyQuestionText(const std::string& targetDir, const std::string& targetName);
// The expansion failed: try again?
std::string ExpandQuestionText(const std::string& sourceDir, const std::string& sourceName,
                               const std::string& targetDir, const std::string& targetName);
// The second attempt failed too.
std::string CopyFailedText(const std::string& targetDir, const std::string& targetName);
