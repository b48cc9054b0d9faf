#pragma once
// A configuration file (".abt") applied to a set of values as File -> Open does.
#include <string>

#include "protocol/ControlAccess.h"

namespace cli {

// Applies the file's items to `values`; false with `error` set when the file is not an ".abt"
// file, cannot be opened or read, or is longer than the 4096 bytes the windows read.
bool applyConfigurationFile(const std::string& path, protocol::ControlAccess& values,
                            std::string& error);

}  // namespace cli
