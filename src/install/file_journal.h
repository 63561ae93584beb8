// A quiet run's way back: each file it puts in place over an earlier one, the earlier one
// kept under a temporary name until the run has succeeded, so that a failed run can leave
// the machine as it found it. A file in use is put in place at the next restart instead.
#pragma once
#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "codec/expander.h"

class FileJournal {
 public:
  // Names a file in the installation's log before it is on the disk under that name, so
  // that the uninstaller knows it whenever the run is killed, and with flush sees the log
  // on the disk; false when it cannot.
  using LogEntry = std::function<bool(const std::string& path, bool flush)>;
  explicit FileJournal(LogEntry log) : log_(std::move(log)) {}

  // Before the finished file temporary takes target's place (its attributes as the caller
  // just found them): the earlier target is kept under a second name while the new one
  // replaces it at once (Done); or it is moved aside (Move: the caller moves the new one in);
  // or, when it is in use, the system is to put temporary in place at the next restart (Done).
  Placement Place(const std::string& temporary, const std::string& target, unsigned long attributes);
  // Moves file aside under a new name in its folder, logged first, until the run has
  // succeeded (a file of the earlier version the new one no longer has, or one about to be
  // replaced); false when it stays, with the system's error.
  bool KeepAside(const std::string& file);
  // Logs ahead of need a second name for an earlier file of the installation directory,
  // unflushed: the caller flushes the log once for a batch.
  void ReserveKeptName();
  // The run failed: every target as it was before the run, and what was kept aside gone.
  void Undo();
  // The run succeeded: what was kept aside goes, at the next restart when it is in use (it
  // stays among the kept then). Nothing can be undone after it.
  void Commit();
  // A file waits for the next restart.
  bool RestartNeeded() const { return restartNeeded_; }
  // The new files that wait for the restart beside their targets: the log must name them.
  std::vector<std::string> Leftovers() const;
  // The earlier files kept aside that are still there: all before Commit, after it those that
  // wait for the next restart.
  std::vector<std::string> Kept() const;

 private:
  // The new file over target, the earlier one kept by a second name; false when the system
  // cannot (no such names, the target held open or read-only), with nothing changed.
  bool ReplaceKeepingLink(const std::string& temporary, const std::string& target);
  // A new second name in the run's work folder, logged (flushed or not); empty when there is
  // no work folder or the log cannot be written.
  std::string NameInWorkFolder(bool flush);
  // A reserved name, or else a new one in the work folder; empty as NameInWorkFolder.
  std::string TakeKeptName();
  struct Entry {
    std::string target, other;
  };
  LogEntry log_;
  // each target with the earlier file kept aside, or none; no target: a second name of a
  // file still in place, which only goes
  std::vector<Entry> entries_;
  std::vector<Entry> pending_;  // targets in use, with the new file that waits for the restart
  bool restartNeeded_ = false;
  std::vector<std::string> reserved_;  // kept names logged ahead, not yet used
};

// The names a quiet run keeps an earlier file under: "~up", hex digits, ".tmp".
bool IsKeptFileName(const std::string& fileName);
