#include "install/file_journal.h"

#include <windows.h>

#include "env/file_system.h"
#include "env/paths.h"
#include "env/pending_rename.h"
#include "env/run_record.h"

namespace {
constexpr char KeptPrefix[] = "~up";

bool InUse(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}
}  // namespace

bool IsKeptFileName(const std::string& fileName) {
  const std::string name = LowerCase(fileName);
  return name.size() > 7 && name.compare(0, 3, KeptPrefix) == 0 && name.compare(name.size() - 4, 4, ".tmp") == 0 &&
         name.find_first_not_of("0123456789abcdef", 3) == name.size() - 4;
}

Placement FileJournal::Place(const std::string& temporary, const std::string& target, const LogEntry& log) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    entries_.push_back({target, "", ""});
    return Placement::Move;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Placement::Refuse;
  char kept[MAX_PATH];
  if (!GetTempFileNameA(ExtractFilePath(target).c_str(), KeptPrefix, 0, kept)) return Placement::Refuse;
  if (!log(kept)) {
    DeleteFileA(kept);
    return Placement::Refuse;
  }
  if (MoveFileExA(target.c_str(), kept, MOVEFILE_REPLACE_EXISTING)) {
    entries_.push_back({target, kept, ""});
    return Placement::Move;
  }
  const DWORD error = GetLastError();
  DeleteFileA(kept);
  // Held open by another program: the new file waits beside it for the next restart.
  if (!InUse(error) || !log(temporary) || !ReplaceAtRestart(temporary, target)) return Placement::Refuse;
  RecordRun({"file in use, replaced at the next restart: ", target});
  entries_.push_back({target, "", temporary});
  leftovers_.push_back(temporary);
  restartNeeded_ = true;
  return Placement::Done;
}

bool FileJournal::Retire(const std::string& file, const LogEntry& log) {
  char kept[MAX_PATH];
  if (!GetTempFileNameA(ExtractFilePath(file).c_str(), KeptPrefix, 0, kept)) return false;
  if (log(kept) && MoveFileExA(file.c_str(), kept, MOVEFILE_REPLACE_EXISTING)) {
    entries_.push_back({file, kept, ""});
    return true;
  }
  DeleteFileA(kept);
  return false;
}

void FileJournal::Undo() {
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    // A new file that waits for the restart goes now: the system finds nothing to move then.
    if (!entry->pending.empty())
      DeleteFileA(entry->pending.c_str());
    else if (!entry->kept.empty())
      MoveFileExA(entry->kept.c_str(), entry->target.c_str(), MOVEFILE_REPLACE_EXISTING);
    else
      DeleteFileA(entry->target.c_str());
  }
  entries_.clear();
  leftovers_.clear();
  restartNeeded_ = false;
}

void FileJournal::Commit() {
  for (const Entry& entry : entries_) {
    if (entry.kept.empty() || DeleteFileA(entry.kept.c_str())) continue;
    // A program still running from the earlier file: it goes at the next restart.
    if (ReplaceAtRestart(entry.kept, "")) restartNeeded_ = true;
  }
}

std::vector<std::string> FileJournal::Kept() const {
  std::vector<std::string> kept;
  for (const Entry& entry : entries_)
    if (!entry.kept.empty() && GetFileAttributesA(entry.kept.c_str()) != INVALID_FILE_ATTRIBUTES)
      kept.push_back(entry.kept);
  return kept;
}

std::string FileJournal::NewContent(const std::string& target) const {
  for (const Entry& entry : entries_)
    if (!entry.pending.empty() && LowerCase(entry.target) == LowerCase(target)) return entry.pending;
  return target;
}
