#include "env/folders.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "env/file_system.h"
#include "env/handles.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/removal_rules.h"
#include "env/system_names.h"

namespace {
bool HoldsIgnoringCase(const std::vector<std::string>& list, const std::string& name) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return SameNameIgnoringCase(entry, name); });
}

// A probe name: "FileTest.txt" first, then "FileTest1.txt", "FileTest2.txt" ...
std::string ProbeName(unsigned attempt) {
  return attempt == 0 ? "FileTest.txt" : "FileTest" + DecimalText(attempt) + ".txt";
}

// True when some entry begins with plain + "." (letter case significant).
bool HasSuffixedTwin(const std::vector<std::string>& list, const std::string& plain) {
  if (plain.find('.') != std::string::npos) return false;
  const std::string prefix = plain + ".";
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return entry.compare(0, prefix.size(), prefix) == 0; });
}

// Removes a plain name s when an entry "s.<suffix>" exists, until a pass removes nothing.
void DropPlainTwins(std::vector<std::string>& list) {
  for (;;) {
    auto twin = std::find_if(list.begin(), list.end(), [&](const std::string& s) { return HasSuffixedTwin(list, s); });
    if (twin == list.end()) return;
    list.erase(twin);
  }
}
}  // namespace

bool CanWriteToDir(const std::string& dir) {
  constexpr unsigned MaxAttempts = 100;
  for (unsigned attempt = 0; attempt < MaxAttempts; ++attempt) {
    const std::string path = IncludeBackslash(dir) + ProbeName(attempt);
    HANDLE file = CreateFileNamed(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      DeleteFileNamed(path);
      return true;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
  }
  return false;
}

std::string GetLogonUserName() {
  const std::string name = UserName();
  return name.empty() ? "All Users" : name;
}

std::string GetComputerNameStr() { return ComputerName(); }

void ListProfileUsersIn(const std::string& root, const std::string& user, const std::string& computer,
                        std::vector<std::string>& list) {
  for (const FoundFile& entry : FindFiles(IncludeBackslash(root) + "*.*")) {
    const std::string& name = entry.name;
    if (name[0] == '.') continue;
    if (DirectoryExists(IncludeBackslash(root) + name + "\\Desktop") && !HoldsIgnoringCase(list, name))
      list.push_back(name);
  }
  DropPlainTwins(list);
  const std::string userOnComputer = user + "." + computer;
  const bool present =
      HoldsIgnoringCase(list, user) || std::any_of(list.begin(), list.end(), [&](const std::string& listed) {
        return listed.find(userOnComputer) != std::string::npos;
      });
  if (!present) list.push_back(user);
}

void ListProfileUsers(std::vector<std::string>& list) {
  ListProfileUsersIn(GetProfilesDirectory(), GetLogonUserName(), GetComputerNameStr(), list);
}

std::string SpecialFolder(HWND owner, int folder) {
  LPITEMIDLIST raw = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(owner, folder, &raw)) || !raw) return {};
  ItemIdList list(raw);
  return PathFromIdList(raw);
}

namespace {
std::string CurrentVersionValue(const char* name) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", false);
  return ReadRegistryString(key, name);
}
}  // namespace

std::string ProgramFilesDir() { return CurrentVersionValue("ProgramFilesDir"); }

bool InProgramFilesFolder(const std::string& dir) {
  for (const char* name : {"ProgramFilesDir", "ProgramW6432Dir"})
    if (const std::string folder = CurrentVersionValue(name); !folder.empty() && IsBelow(dir, folder)) return true;
  return false;
}
