#include "env/library_error.h"

#include "env/paths.h"

std::string IoError(unsigned long code) { return "I/O-Fehler " + DecimalText(code); }
