// Expanding one compressed distribution file into its installed form.
#pragma once
#include <functional>
#include <string>

#include "env/message_error.h"

// Failures of the decoder's tables.
using ElzhException = MessageError<struct ElzhExceptionKind>;
// Failures of the file layer: memory, opening, reading, writing, signature, a damaged stream.
using ELzrw1Exception = MessageError<struct ELzrw1ExceptionKind>;

// Expands source into target. Raises the two classes above. The target is replaced only by
// a complete expansion: on any failure it is left as it was (or missing, as it was). Source
// and target naming one file fail before anything is written. The expansion is written
// first into a temporary file in scratchDir (empty: the target's own folder); beforeReplace
// runs when it is complete, just before it takes the target's name.
using ReplaceHook = std::function<void()>;
void ExpandFileOrThrow(const std::string& source, const std::string& target,
                       const std::string& scratchDir = {}, const ReplaceHook& beforeReplace = {});

// As ExpandFileOrThrow, but reports only success; only a library failure (LibraryError)
// raised by beforeReplace leaves it.
bool ExpandFile(const std::string& source, const std::string& target, const std::string& scratchDir = {},
                const ReplaceHook& beforeReplace = {});

#ifdef _WIN32
// Puts a finished temporary file in the target's place, replacing it, across drives if need be.
bool MoveIntoPlace(const std::string& temporary, const std::string& target);
#endif
