#include "transfer/copy_install_file.h"
#include "env/system_names.h"

#include <windows.h>

#include <memory>
#include <new>

#include "codec/expander.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "env/handles.h"
#include "env/exit_codes.h"
#include "env/paths.h"
#include "env/text_file.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/wait.h"
#include "transfer/copy_messages.h"
#include "transfer/distribution.h"
#include "transfer/work_folder.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {
// A file that is not whole never lies under its target's name: it is written into the run's
// work folder in the installation directory first (what an interrupted run leaves there goes
// with the directory when the program is removed) and then moved into place.
std::string ScratchDir(const std::string& targetDir) {
  if (InstallDir.empty()) return targetDir;
  const std::string& work = WorkFolder(WorkKind::Scratch);
  return work.empty() ? IncludeBackslash(InstallDir) : work;
}

enum class Copied { Done, Failed, Damaged };

// What the distribution says a file holds: its digest from the script, and whether it was
// checked already (a file the program carries was checked with all it carries before the run,
// and is read through the handle that has kept the program file closed to writers since).
struct Expected {
  std::string sha256;
  bool checked = false;
};

// The source's bytes into the temporary file, with the source's time, each byte read once:
// hashed on the way, for the check and for what the log records of the file. Damaged: they
// are not the bytes the distribution recorded.
Copied CopyBytes(const FileSpan& source, const std::string& temporary, const Expected& expected, FileContent& content) {
  KernelHandle opened;
  HANDLE in = OpenSpan(source, opened, FILE_FLAG_SEQUENTIAL_SCAN);
  KernelHandle out = FromCreateFile(CreateFileNamed(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  constexpr DWORD BufferSize = 65536;
  // On the heap: a static buffer of this size would lie in the program file.
  std::unique_ptr<unsigned char[]> buffer(new (std::nothrow) unsigned char[BufferSize]);
  if (!in || !out || !buffer) return Copied::Failed;
  const bool hash = expected.sha256.empty() || !expected.checked;
  Sha256 digest;
  DWORD got = 0, written = 0;
  unsigned long long size = 0;
  for (uint32_t left = source.size; left; left -= got) {
    if (!ReadFile(in, buffer.get(), left < BufferSize ? left : BufferSize, &got, nullptr)) return Copied::Failed;
    if (got == 0) break;
    if (hash) digest.Add(buffer.get(), got);
    if (!WriteFile(out.Get(), buffer.get(), got, &written, nullptr) || written != got) return Copied::Failed;
    size += got;
  }
  const std::string recorded = LowerCase(expected.sha256);
  content = {size, hash ? digest.HexDigest() : recorded};
  if (hash && !recorded.empty() && content.sha256 != recorded) return Copied::Damaged;
  // A file carried in the program keeps the time of the file it was made from.
  FILETIME created, modified = {static_cast<DWORD>(source.time), static_cast<DWORD>(source.time >> 32)};
  if (source.time || GetFileTime(in, &created, &created, &modified))
    SetFileTime(out.Get(), nullptr, nullptr, &modified);
  return Copied::Done;
}

Copied CopyPlain(const FileSpan& source, const std::string& target, const std::string& scratchDir,
                 const ReplaceHook& beforeReplace, const Expected& expected, FileContent& content) {
  const std::string temporary = TempFileNamed(scratchDir, "cpy");
  if (temporary.empty()) return Copied::Failed;
  Copied result = CopyBytes(source, temporary, expected, content);
  if (result == Copied::Done) {
    const Placement placement = beforeReplace(temporary);
    if (placement == Placement::Refuse || (placement == Placement::Move && !MoveIntoPlace(temporary, target)))
      result = Copied::Failed;
  }
  if (result != Copied::Done) DeleteFileNamed(temporary);
  return result;
}

// Quiet, a file that cannot be installed is skipped: the run goes on and reports it.
ModalResult AskRetry(const std::string& text, CopyView& view) {
  view.ShowNow();
  const ModalResult answer = Ask(text, DlgType::Warning, mbYes | mbNo | mbCancel, mrNo);
  if (answer == mrCancel) Application.Halt(ExitByUser);
  if (answer == mrNo) FileSkipped = true;
  return answer;
}

void FinalFailure(const std::string& text) {
  InstallError = true;
  ShowMessage(text);
}
}  // namespace

bool CopyInstallFile(const std::string& sourceName, const std::string& targetName, const std::string& sourceDir,
                     const std::string& targetDir, CopyView& view, const std::string& expectedSha256) {
  const std::string mapped = MapCompressedName(targetName);
  const std::string shownTarget = LowerCase(targetDir + mapped);
  view.ShowPaths(LowerCase(sourceDir + sourceName), shownTarget);
  const std::string source = IncludeBackslash(sourceDir) + sourceName;
  const FileSpan from = CarriesDistribution() ? DistributionFile(sourceName) : FileSpan(source);
  const std::string target = IncludeBackslash(targetDir) + mapped;
  const std::string scratch = ScratchDir(targetDir);
  // A name from the script that is not one plain file name (a folder part, "..", a drive, a
  // device) would reach outside the target directory: it fails like a file that cannot be
  // copied.
  const bool plain = IsPlainFileName(sourceName) && IsPlainFileName(mapped);
  // The log names a file before it lies in place, so that a run killed at any moment leaves
  // nothing installed that the uninstaller does not know of. Each file is recorded once.
  bool recorded = false, logFailed = false, recordedContent = false;
  const auto record = [&](const FileContent& content) {
    if (!recorded) {
      logFailed = !view.Record(shownTarget, content);
      recordedContent = !content.sha256.empty();
    }
    recorded = true;
    return !logFailed;
  };
  FileContent content;  // of the finished file, as the copy or the expansion wrote it
  const ReplaceHook place = [&](const std::string& temporary) {
    return record(content) ? view.Place(temporary, target) : Placement::Refuse;
  };
  // A file whose bytes are not those the distribution recorded never takes its place: the
  // download or the medium is damaged, and only a new copy of it helps.
  bool damaged = false;
  const Expected expected{expectedSha256, CarriesDistribution()};
  const auto copy = [&] {
    const Copied result = plain ? CopyPlain(from, target, scratch, place, expected, content) : Copied::Failed;
    damaged = result == Copied::Damaged;
    return result == Copied::Done;
  };
  const auto expand = [&] {
    const auto failure = plain ? ExpandFileChecked(from, target, scratch, place,
                                                   expected.checked ? std::string() : expected.sha256, &content)
                               : std::optional<ExpandFailure>(ExpandFailure{});
    damaged = failure && failure->damaged;
    return !failure;
  };
  const bool compressed = IsCompressedName(sourceName);
  const auto question = [&] {
    if (damaged) return DamagedQuestionText(sourceDir, sourceName);
    return compressed ? ExpandQuestionText(sourceDir, sourceName, targetDir, mapped)
                      : CopyQuestionText(targetDir, mapped);
  };
  std::string_view outcome = "installed";
  if (!(compressed ? expand() : copy()) && !logFailed) {
    if (damaged) RecordRun({"file damaged: ", source});
    const ModalResult answer = AskRetry(question(), view);
    if (answer == mrYes && compressed) Pause(1000, true);
    outcome = answer == mrNo ? "skipped" : (compressed ? expand() : copy()) ? "installed" : "failed";
  }
  // A file the log cannot name stays out of place: the run ends here.
  if (logFailed) outcome = "not installed, the log cannot be written";
  RecordRun({"file ", outcome, damaged ? " (damaged)" : "", ": ", source, " -> ", target});
  if (logFailed) return false;
  if (outcome == "failed")
    FinalFailure(damaged ? DamagedFailedText(sourceDir, sourceName) : CopyFailedText(targetDir, mapped));
  // Not put in place: what lies there, if anything, is not known to be ours as it is.
  if (outcome != "installed" && recordedContent) view.NotPlaced(shownTarget);
  return record({});
}
