// The program's version, shown in the start window's banner and in the version resource.
#pragma once
#define SETUP_VERSION "1.0.0"
#define SETUP_VERSION_NUMBERS 1, 0, 0, 0
