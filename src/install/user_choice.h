// The choice of user profile for the program group. Portable.
#pragma once
#include <string>
#include <vector>

// How a profile folder name is shown: "All Users" as "Alle Anwender", and only the part
// before the first ".".
std::string DisplayedUserName(const std::string& stored);
// The first entry containing the logon name (letter case significant), else 0.
int PreselectedUser(const std::vector<std::string>& entries, const std::string& logonName);
