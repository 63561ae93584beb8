#include "transfer/copy_install_file.h"

#include <windows.h>

#include "env/exit_codes.h"
#include "env/paths.h"
#include "env/settings.h"
#include "env/wait.h"
#include "transfer/copy_messages.h"
#include "transfer/expander.h"
#include "transfer/name_mapping.h"
#include "ui/application.h"
#include "ui/dialogs.h"

namespace {
enum Answer { Yes = 6, No = 7, Cancel = 2 };

bool CopyPlain(const std::string& source, const std::string& target) {
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return false;
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  return true;
}

int AskRetry(const std::string& text) {
  const int answer = MessageDlg(text, DlgType::Warning, mbYes | mbNo | mbCancel);
  if (answer == Cancel) Application.Halt(ExitByUser);
  return answer;
}

void FinalFailure(const std::string& targetDir, const std::string& targetName) {
  InstallError = true;
  ShowMessage(CopyFailedText(targetDir, targetName));
}
}  // namespace

void CopyInstallFile(const std::string& sourceName, const std::string& targetName,
                     const std::string& sourceDir, const std::string& targetDir, CopyView& view) {
  const std::string mapped = MapCompressedName(targetName);
  const std::string shownTarget = LowerCase(targetDir + mapped);
  view.ShowPaths(LowerCase(sourceDir + sourceName), shownTarget);
  const std::string source = IncludeBackslash(sourceDir) + sourceName;
  const std::string target = IncludeBackslash(targetDir) + mapped;
  if (!IsCompressedName(sourceName)) {
    if (!CopyPlain(source, target) &&
        AskRetry(CopyQuestionText(targetDir, mapped)) != No && !CopyPlain(source, target))
      FinalFailure(targetDir, mapped);
  } else if (!ExpandFile(source, target)) {
    const int answer = AskRetry(ExpandQuestionText(sourceDir, sourceName, targetDir, mapped));
    if (answer == Yes) Pause(1000, true);
    if (answer != No && !ExpandFile(source, target)) FinalFailure(targetDir, mapped);
  }
  view.Record(shownTarget);
}
