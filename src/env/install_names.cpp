#include "env/install_names.h"

#include "env/paths.h"

std::string UninstallKeyOf(const std::string& name) { return Concat({UninstallKeyPath, "\\", name}); }
