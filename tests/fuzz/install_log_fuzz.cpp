// libFuzzer harness: any bytes as an install log, which any user may have edited. Its
// sections split as the profile functions split them, then read as the installer and the
// uninstaller read them: the files with their states and origins, what an upgrade does with
// each, what the removal may delete, the folders above, the sections kept on a rewrite.
// Nothing may crash, and nothing outside the program directory or the Windows directory may
// be found deletable.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "env/paths.h"
#include "env/removal_rules.h"
#include "install/log_lines.h"
#include "install/script_reader.h"
#include "install/upgrade_rules.h"

namespace {
// A section's "key=value" lines, split as the profile functions split them.
std::vector<std::string> Lines(const ScriptReader& log, const char* section) {
  std::vector<std::string> lines;
  for (const ScriptEntry& entry : log.Section(section)) lines.push_back(entry.key + "=" + entry.value);
  return lines;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ScriptReader log(text);
  const std::string programDir = "C:\\Programme\\Adressen", windows = "C:\\Windows";
  const ProtectedFolders system = {windows, "C:\\Users", "C:\\Programme"};
  unsigned long previous = 0;
  for (const LoggedFile& file : JoinLoggedFiles(Lines(log, "InstalledFiles"), Lines(log, "FileStates"), Lines(log, "FileOrigins"))) {
    if (file.number < previous || file.number == 0) std::abort();
    previous = file.number;
    EarlierFile facts;
    facts.exists = true;
    facts.inProgramDir = IsBelow(file.path, programDir);
    facts.recordedState = file.state;
    facts.found = OriginSays(file.origin, "found");
    FateOfEarlierFile(facts, [&] { return FileStateText(file.path.size(), file.state); });
    if (MayDeleteLoggedFile(file.path, programDir, windows) && !IsBelow(file.path, programDir) && !IsBelow(file.path, windows))
      std::abort();
  }
  std::vector<std::string> created;
  for (const NumberedEntry& entry : NumberedEntries(Lines(log, "CreatedFolders"))) created.push_back(entry.value);
  for (const std::string& folder : FoldersToRemoveAbove(created, programDir, system))
    if (!IsBelow(programDir, folder)) std::abort();
  for (const ScriptEntry& entry : log.Section("StartMenu")) IsSingleKeyName(entry.value);
  OtherSections(text);
  return 0;
}
