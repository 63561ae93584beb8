// What an installation over an earlier one decides: whether it would put an older version in
// place of a newer one, and what becomes of each file the earlier version logged. Portable.
#pragma once
#include <string>

// Versions ("General"/"Version", "DisplayVersion") compared part by part as numbers, so that
// "1.10" follows "1.9": below 0 when a is older, 0 when equal, above 0 when newer. A missing
// part counts as 0; a part counts by its leading digits.
int CompareVersions(const std::string& a, const std::string& b);

// How the log records a file as the installation left it: its size and SHA-256, "size,hex".
std::string FileStateText(unsigned long long size, const std::string& sha256Hex);

// A file the earlier installation logged, as the new run finds it.
struct EarlierFile {
  bool listedNow = false;  // this run logged it too
  bool exists = false;
  bool inProgramDir = false;  // below the installation directory (not the Windows directory)
  bool backup = false;        // a quiet run's copy of a replaced file, left by a killed run
  bool found = false;         // it was there before the earlier installation: not ours to take
  std::string recordedState;  // as the earlier run left it; empty when it was not recorded
};
enum class EarlierFate {
  Drop,         // gone, logged anew by this run, or never ours: no entry of its own
  Remove,       // part of the earlier version only, and as it left it: deleted now
  Keep,         // stays logged: it goes at the removal (a file in the Windows directory)
  KeepChanged,  // no longer part of the program, but changed since: the user's, kept and logged
};
// currentState() (the file's state now) is asked only when the decision needs it: it reads
// the whole file.
template <class CurrentState>
EarlierFate FateOfEarlierFile(const EarlierFile& file, CurrentState currentState) {
  if (file.listedNow || !file.exists) return EarlierFate::Drop;
  // A killed quiet run's copy of an earlier file: the run now completing makes it useless.
  if (file.backup && file.inProgramDir) return EarlierFate::Remove;
  if (!file.inProgramDir) return EarlierFate::Keep;
  // Another's file the earlier version wrote over: it stays, and no removal takes it.
  if (file.found) return EarlierFate::Drop;
  // Unknown is not the same: a file without a recorded state is kept, whatever it holds.
  if (!file.recordedState.empty() && currentState() == file.recordedState) return EarlierFate::Remove;
  return EarlierFate::KeepChanged;
}
