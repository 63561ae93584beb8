#include "install/file_journal.h"
#include "env/system_names.h"

#include <windows.h>

#include "codec/expander.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/paths.h"
#include "env/pending_rename.h"
#include "env/removal_rules.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "transfer/work_folder.h"

namespace {
constexpr char KeptPrefix[] = "~up";
}  // namespace

bool IsKeptFileName(const std::string& fileName) { return IsTemporaryName(fileName, KeptPrefix); }

std::string FileJournal::NameInWorkFolder(bool flush) {
  const std::string& work = WorkFolder(WorkKind::Kept);
  if (work.empty()) return work;
  const std::string kept = TemporaryName(work, KeptPrefix);
  return log_(kept, flush) ? kept : std::string();
}

void FileJournal::ReserveKeptName() {
  const std::string kept = NameInWorkFolder(false);
  reserved_.push_back(kept);
}

std::string FileJournal::TakeKeptName() {
  std::string kept;
  if (!reserved_.empty()) {
    kept = reserved_.back();
    reserved_.pop_back();
  }
  return kept.empty() ? NameInWorkFolder(true) : kept;
}

// The name is logged before anything of that name is on the disk: a run killed in between
// leaves nothing there that the log does not name. A file of the installation directory is
// kept in the run's work folder, where a new name is quickly found; one elsewhere (a library
// in the Windows directory) beside itself, on its own volume.
bool FileJournal::KeepAside(const std::string& file) {
  const bool below = IsBelow(file, InstallDir);
  std::string dir;  // beside the file, once the work folder will not do
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string kept = below && dir.empty() ? TakeKeptName() : std::string();
    if (kept.empty()) {
      if (dir.empty()) dir = ExtractFilePath(file);
      kept = TemporaryName(dir, KeptPrefix);
      // The work folder is this run's: only a name this run gave could be there, and the move
      // finds it; here a file of that name may be another's, which the log must not name.
      if (FileAttributes(kept) != INVALID_FILE_ATTRIBUTES) continue;
      if (!log_(kept, true)) return false;
    }
    if (MoveFileExNamed(file, kept, 0)) {
      entries_.push_back({file, kept});
      return true;
    }
    // A folder below the directory on another volume: the file is kept beside itself.
    if (GetLastError() == ERROR_NOT_SAME_DEVICE && dir.empty())
      dir = ExtractFilePath(file);
    else if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
      return false;
  }
  return false;
}

// The target never lacks its name this way, and the system finds it at once, where a name
// moved away must be searched for (by Wine through the whole folder) when the new file comes.
bool FileJournal::ReplaceKeepingLink(const std::string& temporary, const std::string& target) {
  if (!IsBelow(target, InstallDir)) return false;
  const std::string kept = TakeKeptName();
  if (kept.empty()) return false;
  if (!CreateHardLinkNamed(kept, target)) {
    reserved_.push_back(kept);  // logged already: KeepAside takes it
    return false;
  }
  if (!MoveIntoPlace(temporary, target)) {
    // The second name of a file held open may have to wait: it goes with the rest.
    if (!DeleteFileNamed(kept)) entries_.push_back({"", kept});
    return false;
  }
  entries_.push_back({target, kept});
  return true;
}

Placement FileJournal::Place(const std::string& temporary, const std::string& target, unsigned long attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    entries_.push_back({target, ""});
    return Placement::Move;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Placement::Refuse;
  if (!(attributes & FILE_ATTRIBUTE_READONLY) && ReplaceKeepingLink(temporary, target)) return Placement::Done;
  if (KeepAside(target)) return Placement::Move;
  // Held open by another program: the new file waits beside it for the next restart.
  if (!IsInUseError(GetLastError()) || !log_(temporary, true) || !ReplaceAtRestart(temporary, target))
    return Placement::Refuse;
  RecordRun({"file in use, replaced at the next restart: ", target});
  pending_.push_back({target, temporary});
  restartNeeded_ = true;
  return Placement::Done;
}

void FileJournal::Undo() {
  // A new file that waits for the restart goes now: the system finds nothing to move then.
  for (const Entry& entry : pending_) DeleteFileNamed(entry.other);
  for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
    if (entry->target.empty()) {
      if (!DeleteFileNamed(entry->other)) ReplaceAtRestart(entry->other, "");
    } else if (!entry->other.empty())
      MoveFileExNamed(entry->other, entry->target, MOVEFILE_REPLACE_EXISTING);
    else
      DeleteFileNamed(entry->target);
  }
  entries_.clear();
  pending_.clear();
  restartNeeded_ = false;
}

// Afterwards only the kept files that could not go are left in the journal: the way back is
// closed. (Asked of the disk instead, each name gone would cost a search of its folder.)
void FileJournal::Commit() {
  std::vector<Entry> left;
  for (const Entry& entry : entries_) {
    // A read-only earlier file is ours to delete like any other, not one in use.
    if (entry.other.empty() || ForceDeleteFile(entry.other)) continue;
    // A program still running from the earlier file: it goes at the next restart.
    if (ReplaceAtRestart(entry.other, "")) restartNeeded_ = true;
    left.push_back(entry);
  }
  entries_ = std::move(left);
}

std::vector<std::string> FileJournal::Kept() const {
  std::vector<std::string> kept;
  for (const Entry& entry : entries_)
    if (!entry.other.empty()) kept.push_back(entry.other);
  return kept;
}

std::vector<std::string> FileJournal::Leftovers() const {
  std::vector<std::string> waiting;
  for (const Entry& entry : pending_) waiting.push_back(entry.other);
  return waiting;
}
