// The completion messages of an installation. Portable.
#pragma once
#include <string>

std::string InstallFailedText(const std::string& directory);
// The success message with the question to start the program; the addition for an
// administrator on the NT family reminds of the rights another user needs.
std::string InstallDoneText(const std::string& directory, bool ntAdministrator);
