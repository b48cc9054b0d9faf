#include "session/LineSettings.h"

namespace session {

void applyLine(const LineSettings& settings, TCommPort& port) {
    port.SetBaudRate(static_cast<TBaudRate>(settings.baudIndex));
    port.SetStopBits(static_cast<TStopBits>(settings.stopBitsIndex));
    port.SetComControl(static_cast<TComControl>(settings.controlIndex));
    port.SetDataBits(static_cast<std::uint16_t>(settings.dataBitsIndex + 5));
    port.SetParity(static_cast<TParity>(settings.parityIndex));
}

}  // namespace session
