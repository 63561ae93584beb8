#include "install/user_choice.h"

#include <algorithm>

#include "env/paths.h"
#include "env/removal_rules.h"

namespace {
bool IsAllUsersEntry(const std::string& stored) { return stored.find("All Users") != std::string::npos; }
}  // namespace

std::string DisplayedUserName(const std::string& stored, const std::string& commonName) {
  std::string text =
      IsAllUsersEntry(stored) || (!commonName.empty() && stored == commonName) ? "Alle Anwender" : stored;
  const size_t dot = text.find('.');
  return dot == std::string::npos ? text : text.substr(0, dot);
}

int PreselectedUser(const std::vector<std::string>& entries, const std::string& logonName) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].find(logonName) != std::string::npos) return static_cast<int>(i);
  return 0;
}

void DropSecondAllUsers(std::vector<std::string>& entries, const std::string& commonName) {
  if (commonName.empty() || IsAllUsersEntry(commonName) ||
      std::none_of(entries.begin(), entries.end(), IsAllUsersEntry))
    return;
  entries.erase(std::remove(entries.begin(), entries.end(), commonName), entries.end());
}

std::string ShortcutFolderBelow(const std::string& profile, const std::string& ownProfile, const std::string& ownFolder,
                                std::span<const char* const> layouts, bool (*exists)(const std::string&)) {
  if (profile.empty()) return {};
  const std::string base = IncludeBackslash(profile);
  std::string first;
  const auto found = [&](const std::string& candidate) {
    if (first.empty()) first = candidate;
    return exists(candidate);
  };
  if (!ownProfile.empty() && IsBelow(ownFolder, ownProfile)) {
    const std::string moved = base + ownFolder.substr(IncludeBackslash(ownProfile).size());
    if (found(moved)) return moved;
  }
  for (const char* layout : layouts)
    if (found(base + layout)) return base + layout;
  return first;
}
