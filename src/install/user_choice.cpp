#include "install/user_choice.h"

std::string DisplayedUserName(const std::string& stored) {
  std::string text = stored.find("All Users") != std::string::npos ? "Alle Anwender" : stored;
  const size_t dot = text.find('.');
  return dot == std::string::npos ? text : text.substr(0, dot);
}

int PreselectedUser(const std::vector<std::string>& entries, const std::string& logonName) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].find(logonName) != std::string::npos) return static_cast<int>(i);
  return 0;
}
