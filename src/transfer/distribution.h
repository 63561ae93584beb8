// Where the distribution's files are read from: the folder the program lies in, or the
// program file itself when the distribution is appended to it (a one-file download).
#pragma once
#include <string>

#include "codec/payload_format.h"
#include "env/file_span.h"

using payload::Carried;

// Looks at the own file once, before anything of the distribution is read: whether it
// carries one and whether every byte of it is as it was made. A carried distribution keeps
// the own file open till the end, shared for reading only, so that no one writes to it
// meanwhile.
Carried OpenCarriedDistribution();
bool CarriesDistribution();
// Where a file of the distribution lies; for a name the distribution does not have, a path
// that does not exist.
FileSpan DistributionFile(const std::string& name);
bool DistributionHas(const std::string& name);
// The distribution as messages name it, ending in "\": its folder, or the program's path.
std::string DistributionDir();
// A cut or damaged one-file download, and what to do.
std::string DamagedDownloadText(const std::string& path);
