// The Windows version names the program compares with. Portable.
#pragma once
#include <string>

// Name for the reported platform identifier, version and service-pack text.
std::string VersionNameFor(unsigned platformId, unsigned major, unsigned minor, const std::string& servicePack);
// The three NT-family names for which the administrator advice applies.
bool IsAdviceVersion(const std::string& versionName);
