#include "transfer/copy_install_file.h"

#include <windows.h>

#include "codec/expander.h"
#include "codec/name_mapping.h"
#include "env/exit_codes.h"
#include "env/paths.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/wait.h"
#include "transfer/copy_messages.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {
// A file that is not whole never lies under its target's name: it is written into the
// installation directory first (what an interrupted run leaves there goes with the directory
// when the program is removed) and then moved into place.
std::string ScratchDir(const std::string& targetDir) {
  return InstallDir.empty() ? targetDir : IncludeBackslash(InstallDir);
}

bool CopyPlain(const std::string& source, const std::string& target, const std::string& scratchDir,
               const ReplaceHook& beforeReplace) {
  char temporary[MAX_PATH];
  if (!GetTempFileNameA(scratchDir.c_str(), "cpy", 0, temporary)) return false;
  bool done = CopyFileA(source.c_str(), temporary, FALSE) != 0;
  if (done) {
    // A read-only source arrives writable.
    const DWORD attributes = GetFileAttributesA(temporary);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(temporary, attributes & ~FILE_ATTRIBUTE_READONLY);
    done = beforeReplace() && MoveIntoPlace(temporary, target);
  }
  if (!done) DeleteFileA(temporary);
  return done;
}

// Quiet, a file that cannot be installed is skipped: the run goes on and reports it.
ModalResult AskRetry(const std::string& text, CopyView& view) {
  view.ShowNow();
  const ModalResult answer = Ask(text, DlgType::Warning, mbYes | mbNo | mbCancel, mrNo);
  if (answer == mrCancel) Application.Halt(ExitByUser);
  if (answer == mrNo) FileSkipped = true;
  return answer;
}

void FinalFailure(const std::string& targetDir, const std::string& targetName) {
  InstallError = true;
  ShowMessage(CopyFailedText(targetDir, targetName));
}
}  // namespace

bool CopyInstallFile(const std::string& sourceName, const std::string& targetName,
                     const std::string& sourceDir, const std::string& targetDir, CopyView& view) {
  const std::string mapped = MapCompressedName(targetName);
  const std::string shownTarget = LowerCase(targetDir + mapped);
  view.ShowPaths(LowerCase(sourceDir + sourceName), shownTarget);
  const std::string source = IncludeBackslash(sourceDir) + sourceName;
  const std::string target = IncludeBackslash(targetDir) + mapped;
  const std::string scratch = ScratchDir(targetDir);
  // A name from the script that is not one plain file name (a folder part, "..", a drive, a
  // device) would reach outside the target directory: it fails like a file that cannot be
  // copied.
  const bool plain = IsPlainFileName(sourceName) && IsPlainFileName(mapped);
  // The log names a file before it lies in place, so that a run killed at any moment leaves
  // nothing installed that the uninstaller does not know of. Each file is recorded once.
  bool recorded = false, logFailed = false;
  const ReplaceHook record = [&] {
    if (!recorded) logFailed = !view.Record(shownTarget);
    recorded = true;
    return !logFailed;
  };
  const auto copy = [&] { return plain && CopyPlain(source, target, scratch, record); };
  const auto expand = [&] { return plain && ExpandFile(source, target, scratch, record); };
  std::string_view outcome = "installed";
  if (!IsCompressedName(sourceName)) {
    if (!copy() && !logFailed) {
      const ModalResult answer = AskRetry(CopyQuestionText(targetDir, mapped), view);
      outcome = answer == mrNo ? "skipped" : copy() ? "installed" : "failed";
    }
  } else if (!expand() && !logFailed) {
    const ModalResult answer = AskRetry(ExpandQuestionText(sourceDir, sourceName, targetDir, mapped), view);
    if (answer == mrYes) Pause(1000, true);
    outcome = answer == mrNo ? "skipped" : expand() ? "installed" : "failed";
  }
  // A file the log cannot name stays out of place: the run ends here.
  if (logFailed) outcome = "not installed, the log cannot be written";
  RecordRun({"file ", outcome, ": ", source, " -> ", target});
  if (logFailed) return false;
  if (outcome == "failed") FinalFailure(targetDir, mapped);
  return record();
}
