// Bringing one distribution file into its target directory: copied or expanded, with one
// retry on the user's request, and recorded.
#pragma once
#include <string>

#include "codec/expander.h"

// Where the copy shows itself and records what it did: the wizard's copy page and the log.
class CopyView {
 public:
  virtual ~CopyView() = default;
  // Names source and target (both lower case) of the file now being copied; the view may
  // show them a moment later.
  virtual void ShowPaths(const std::string& from, const std::string& to) = 0;
  // Shows at once what ShowPaths named last: before a question, which must come with its file.
  virtual void ShowNow() = 0;
  // Records a file that reached the end of the step, copied or not, with what the copy put
  // in place (no digest: nothing was); false when the record cannot be written.
  virtual bool Record(const std::string& target, const FileContent& content) = 0;
  // The file recorded with its content did not take its place after all (the move failed,
  // then skipped or failed again): what lies there is not what Record was told.
  virtual void NotPlaced(const std::string& target) = 0;
  // Puts the finished file (temporary) in target's place, or leaves that to the caller
  // (Placement::Move, the default); after Record.
  virtual Placement Place(const std::string& temporary, const std::string& target) {
    (void)temporary;
    (void)target;
    return Placement::Move;
  }
};

// "Abbrechen" in a retry question ends the program at once (exit status 1). False when the
// log cannot be written (the file then stays out of place): the installation cannot go on.
// With expectedSha256 (from the script's checksums) the source is checked as it is read, and
// a file whose bytes differ is treated as one that cannot be copied, named as damaged.
bool CopyInstallFile(const std::string& sourceName, const std::string& targetName, const std::string& sourceDir,
                     const std::string& targetDir, CopyView& view, const std::string& expectedSha256 = {});
