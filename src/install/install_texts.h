// The messages of an installation: its end, and the question before a downgrade. Portable.
#pragma once
#include <string>
#include <vector>

std::string InstallFailedText(const std::string& directory);
// The warning that names the program group's folder or shortcuts that could not be made.
std::string ShortcutsMissingText(const std::vector<std::string>& missing);
// The success message with the question to start the program; the addition for an
// administrator on the NT family reminds of the rights another user needs.
std::string InstallDoneText(const std::string& directory, bool ntAdministrator);
// The question before an older version replaces the newer one installed.
std::string DowngradeQuestionText(const std::string& program, const std::string& installed, const std::string& offered);
