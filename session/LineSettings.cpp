#include "session/LineSettings.h"

namespace session {

int& fieldOf(LineSettings& settings, LineField field) {
    switch (field) {
        case LineField::Baud:
            return settings.baudIndex;
        case LineField::ComNumber:
            return settings.comNumber;
        case LineField::StopBits:
            return settings.stopBitsIndex;
        case LineField::Control:
            return settings.controlIndex;
        case LineField::DataBits:
            return settings.dataBitsIndex;
        case LineField::Parity:
            return settings.parityIndex;
    }
    return settings.comNumber;
}

void applyLine(const LineSettings& settings, TCommPort& port) {
    port.SetBaudRate(static_cast<TBaudRate>(settings.baudIndex));
    port.SetStopBits(static_cast<TStopBits>(settings.stopBitsIndex));
    port.SetComControl(static_cast<TComControl>(settings.controlIndex));
    port.SetDataBits(static_cast<std::uint16_t>(settings.dataBitsIndex + 5));
    port.SetParity(static_cast<TParity>(settings.parityIndex));
}

}  // namespace session
