#pragma once
// The port's line settings as the port window keeps them (LineSettingsStore): the port number
// and, for the rest, the index of the window's list, which is also the port component's ordinal
// (rates in serial/LineRates.h, stop bits, flow control, data bits from 5, parity). The defaults
// are the component's own: COM1, 9600 bit/s, one stop bit, no flow control, 8 bits, no parity.
#include <array>
#include <string>
#include <vector>

#include "serial/Commport.h"

namespace session {

struct LineSettings {
    int baudIndex = cbr9600;
    int comNumber = 1;
    int stopBitsIndex = sb1_0;
    int controlIndex = ccNone;
    int dataBitsIndex = 8 - 5;
    int parityIndex = paNone;
};

// The fields in the order the window reads and writes them, with their names in the store.
enum class LineField { Baud, ComNumber, StopBits, Control, DataBits, Parity };
struct LineFieldInfo {
    LineField field;
    const char* storedName;
    int listSize;  // entries of the window's list; 0: not a list (the port number)
    int LineSettings::*member;
};
inline constexpr std::array<LineFieldInfo, 6> kLineFields = {{
    {LineField::Baud, "ComBaud", 15, &LineSettings::baudIndex},
    {LineField::ComNumber, "ComNum", 0, &LineSettings::comNumber},
    {LineField::StopBits, "StopBits", 3, &LineSettings::stopBitsIndex},
    {LineField::Control, "Control", 3, &LineSettings::controlIndex},
    {LineField::DataBits, "DataBit", 4, &LineSettings::dataBitsIndex},
    {LineField::Parity, "Parity", 5, &LineSettings::parityIndex},
}};

// A stored value that cannot be used: unreadable (missing or of another type, `failure` holds the
// store's words) or outside its list (`value`).
struct LineProblem {
    LineField field;
    std::string failure;
    int value = 0;
};

// Gives the line's settings to the port before it opens; the port number is the caller's.
void applyLine(const LineSettings& settings, TCommPort& port);

}  // namespace session
