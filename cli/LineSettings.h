#pragma once
// The line settings the windows keep in the registry store (key "Quorveth\ComPort": "ComBaud",
// "StopBits", "Control", "DataBit", "Parity", each the index of its list in the port window),
// given to the port component before it opens. "ComNum" is not used: the command names its port.
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
