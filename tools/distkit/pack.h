// distkit pack: a distribution folder as one zip archive that a catalogue can point to.
#pragma once
#include <string>

// Writes every file of dir into the archive out, in the order of their names, each with its
// file's time (as distkit build set it; SOURCE_DATE_EPOCH when set) and the same attributes,
// so that one folder always gives the same archive. The reason when it could not; out is
// then as it was.
std::string PackDistribution(const std::string& dir, const std::string& out);
