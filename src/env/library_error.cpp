#include "env/library_error.h"

#include "env/paths.h"

LibraryError IoError(unsigned long code) { return LibraryError("I/O-Fehler " + DecimalText(code)); }
