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
// A file of the distribution found damaged on copying (DamagedFileError): try again?
std::string DamagedQuestionText(const std::string& sourceDir, const std::string& sourceName);
// The second attempt found it so too.
std::string DamagedFailedText(const std::string& sourceDir, const std::string& sourceName);
