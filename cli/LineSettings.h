#pragma once
// vigil takes the line settings the windows keep (session/LineSettingsStore) and words what it
// cannot use. The stored port number is not used: the command names its port.
#include <string>
#include <vector>

#include "serial/Commport.h"

namespace cli {

// Applies every stored value that is present and inside its list; returns a warning for each
// value that is missing, of another type or out of range (the component's default stays). No key
// at all (the windows never ran) leaves the defaults: 9600 bit/s, 8 data bits, no parity, one
// stop bit, no flow control.
std::vector<std::string> applyStoredLineSettings(TCommPort& port);

// The rates the port component knows (110 ... 256000), for --baud.
bool isKnownLineRate(int bitsPerSecond);

}  // namespace cli
