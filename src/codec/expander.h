// Expanding one compressed distribution file into its installed form.
#pragma once
#include <functional>
#include <optional>
#include <string>

// The two classes of failure: of the decoder's tables, and of the file layer (memory,
// opening, reading, writing, signature, a damaged stream). A failure is a value, not an
// exception: SETUP.EXE carries no exception machinery.
enum class ExpandFailureClass { ElzhException, ELzrw1Exception };
struct ExpandFailure {
  ExpandFailureClass kind;
  std::string message;
};

// Expands source into target; the failure, or none. The target is replaced only by a complete
// expansion: on any failure it is left as it was (or missing, as it was). Source and target
// naming one file fail before anything is written. The expansion is written first into a
// temporary file in scratchDir (empty: the target's own folder); beforeReplace runs when it
// is complete, just before it takes the target's name, and when it returns false the
// expansion stops there, the target untouched.
using ReplaceHook = std::function<bool()>;
std::optional<ExpandFailure> ExpandFileChecked(const std::string& source, const std::string& target,
                                               const std::string& scratchDir = {},
                                               const ReplaceHook& beforeReplace = {});

// As ExpandFileChecked, but reports only success.
bool ExpandFile(const std::string& source, const std::string& target, const std::string& scratchDir = {},
                const ReplaceHook& beforeReplace = {});

#ifdef _WIN32
// Puts a finished temporary file in the target's place, replacing it, across drives if need be.
bool MoveIntoPlace(const std::string& temporary, const std::string& target);
#endif
