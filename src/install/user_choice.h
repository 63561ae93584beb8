// The choice of user profile for the program group. Portable.
#pragma once
#include <span>
#include <string>
#include <vector>

// How a profile folder name is shown: "All Users" and the all-users profile's own folder
// (commonName) as "Alle Anwender", and only the part before the first ".".
std::string DisplayedUserName(const std::string& stored, const std::string& commonName = "");
// The first entry containing the logon name (letter case significant), else 0.
int PreselectedUser(const std::vector<std::string>& entries, const std::string& logonName);

// The chosen list without the all-users profile's own folder (commonName, "Public" since Vista)
// when an "All Users" entry stands for it already: both would show as "Alle Anwender".
void DropSecondAllUsers(std::vector<std::string>& entries, const std::string& commonName);

// Where one kind of shortcut goes below another user's profile: the running user's own folder
// (ownFolder, when it lies in ownProfile) at the same place below profile, else each of the
// layouts (names relative to a profile) in turn; the first that exists there (exists decides),
// else the first of them.
std::string ShortcutFolderBelow(const std::string& profile, const std::string& ownProfile, const std::string& ownFolder,
                                std::span<const char* const> layouts, bool (*exists)(const std::string&));
