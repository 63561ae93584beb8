// Expanding one compressed distribution file into its installed form.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "env/file_span.h"

// The two classes of failure: of the decoder's tables, and of the file layer (memory,
// opening, reading, writing, signature, a damaged stream). A failure is a value, not an
// exception: SETUP.EXE carries no exception machinery.
enum class ExpandFailureClass { ElzhException, ELzrw1Exception };
struct ExpandFailure {
  ExpandFailureClass kind;
  std::string message;
  bool damaged = false;  // the source's bytes are not the ones the distribution recorded
};

// What the hook that runs before a finished file takes its target's name decides.
enum class Placement {
  Refuse,  // it must not: the target stays untouched and the finished file goes
  Move,    // the finished file is moved into place now
  Done,    // the hook has taken care of the finished file (moved it, or left it for later)
};
using ReplaceHook = std::function<Placement(const std::string& temporary)>;

// What a finished file holds, for the log: its size and SHA-256 (hex digits; empty: not taken).
struct FileContent {
  unsigned long long size = 0;
  std::string sha256;
};

// Expands source into target; the failure, or none. The target is replaced only by a complete
// expansion: on any failure it is left as it was (or missing, as it was). Source and target
// naming one file fail before anything is written. The expansion is written first into a
// temporary file in scratchDir (empty: the target's own folder); beforeReplace runs when it
// is complete, just before it takes the target's name, and decides what happens to it. With
// expectedSha256 (64 hex digits) the source is hashed as it is read, to its last byte: when
// its bytes are not those, the target stays untouched and the failure is marked damaged,
// whatever else went wrong with them. With written, the expanded bytes are hashed as they are
// written, and what they are is known there before beforeReplace runs.
std::optional<ExpandFailure> ExpandFileChecked(const FileSpan& source, const std::string& target,
                                               const std::string& scratchDir = {},
                                               const ReplaceHook& beforeReplace = {},
                                               const std::string& expectedSha256 = {}, FileContent* written = nullptr);

// As ExpandFileChecked, but reports only success.
bool ExpandFile(const FileSpan& source, const std::string& target, const std::string& scratchDir = {},
                const ReplaceHook& beforeReplace = {});

#ifdef _WIN32
// Puts a finished temporary file in the target's place, replacing it, across drives if need be.
bool MoveIntoPlace(const std::string& temporary, const std::string& target, unsigned long moreFlags = 0);
#endif
