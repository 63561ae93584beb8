#include "install/file_journal.h"
#include "env/system_names.h"

#include <windows.h>

#include "env/file_system.h"
#include "env/paths.h"
#include "env/pending_rename.h"
#include "env/run_record.h"

namespace {
constexpr char KeptPrefix[] = "~up";
}  // namespace

bool IsKeptFileName(const std::string& fileName) {
  const std::string name = LowerCase(fileName);
  return name.size() > 7 && name.starts_with(KeptPrefix) && name.ends_with(".tmp");
}

// The name is logged before anything of that name is on the disk: a run killed in between
// leaves nothing there that the log does not name.
bool FileJournal::KeepAside(const std::string& file) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string kept = KeptPrefix;
    for (unsigned long n = GetTickCount() ^ (++serial_ << 20); n; n >>= 4) kept += "0123456789abcdef"[n & 15];
    kept = ExtractFilePath(file) + kept + ".tmp";
    if (FileAttributes(kept) != INVALID_FILE_ATTRIBUTES) continue;
    if (!log_(kept)) return false;
    if (MoveFileExNamed(file, kept, 0)) {
      entries_.push_back({file, kept});
      return true;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

Placement FileJournal::Place(const std::string& temporary, const std::string& target, unsigned long attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    entries_.push_back({target, ""});
    return Placement::Move;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Placement::Refuse;
  if (KeepAside(target)) return Placement::Move;
  // Held open by another program: the new file waits beside it for the next restart.
  if (!IsInUseError(GetLastError()) || !log_(temporary) || !ReplaceAtRestart(temporary, target)) return Placement::Refuse;
  RecordRun({"file in use, replaced at the next restart: ", target});
  pending_.push_back({target, temporary});
  restartNeeded_ = true;
  return Placement::Done;
}

void FileJournal::Undo() {
  // A new file that waits for the restart goes now: the system finds nothing to move then.
  for (const Entry& entry : pending_) DeleteFileNamed(entry.other);
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (!entry->other.empty())
      MoveFileExNamed(entry->other, entry->target, MOVEFILE_REPLACE_EXISTING);
    else
      DeleteFileNamed(entry->target);
  }
  entries_.clear();
  pending_.clear();
  restartNeeded_ = false;
}

void FileJournal::Commit() {
  for (const Entry& entry : entries_) {
    if (entry.other.empty() || DeleteFileNamed(entry.other)) continue;
    // A program still running from the earlier file: it goes at the next restart.
    if (ReplaceAtRestart(entry.other, "")) restartNeeded_ = true;
  }
}

std::vector<std::string> FileJournal::Kept() const {
  std::vector<std::string> kept;
  for (const Entry& entry : entries_)
    if (!entry.other.empty() && FileAttributes(entry.other) != INVALID_FILE_ATTRIBUTES)
      kept.push_back(entry.other);
  return kept;
}

std::vector<std::string> FileJournal::Leftovers() const {
  std::vector<std::string> waiting;
  for (const Entry& entry : pending_) waiting.push_back(entry.other);
  return waiting;
}
