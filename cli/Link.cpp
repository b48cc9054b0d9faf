#include "cli/Link.h"

#include <cerrno>
#include <cstring>

#include "cli/LineSettings.h"
#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"
#include "platform/PortDiagnostics.h"

namespace cli {

Link::Link(EventLoop& loop, ConsoleMessages& messages, int comNumber, std::optional<int> baud)
    : loop_(loop), messages_(messages), comNumber_(comNumber) {
    for (const std::string& warning : applyStoredLineSettings(port_)) printError(warning);
    if (baud) port_.SetBaud(*baud);
    port_.SetComNumber(comNumber);
    port_.OnOpen = [this](TCommPort*, int error) { openError_ = error; };
    // The link words the failure itself, naming the port.
    port_.OnOpenFailed = [this](TCommPort*) { messages_.holdNext(); };
    port_.OnDataReceived = [this](TCommPort*, std::uint32_t count) { deliver(count); };
    // The close waits for the very thread that is delivering this: leave the delivery first.
    port_.OnDeviceLost = [this](TCommPort*) {
        loop_.post([this] {
            if (!port_.Open()) return;
            close();
            if (onLost) onLost();
        });
    };
    // A receive pass once the transmitter has run dry, as the port window does.
    port_.OnTxDSignal = [](TCommPort* p) { p->RequestRead(); };
}

Link::~Link() {
    port_.OnDataReceived = nullptr;
    port_.OnDeviceLost = nullptr;
    close();
}

bool Link::open(bool quiet) {
    if (port_.Open()) return true;
    openError_ = 0;
    port_.SetOpen(true);
    if (!port_.Open()) {
        // The port component's words (its catalogue's context), as the windows show them.
        failure_ = describe() + ": " + platform::translated("Commport", platform::kOpenFailedText) +
                   "\n" + port_.OpenFailureCause();
    } else if (openError_ != 0) {
        // The device opened but refused a line setting: not a usable link.
        port_.SetOpen(false);
        // The port window's words for the same failure, so that they follow its catalogue.
        failure_ = describe() + ": " + platform::translated("TForm2", "Ошибка подключения ") +
                   std::to_string(openError_) + " (" + std::strerror(openError_) + ")";
    } else {
        return true;
    }
    if (!quiet) printError(failure_);
    return false;
}

bool Link::heldByAnother() const {
    const int error = port_.OpenFailureError();
    return !port_.Open() && (error == EBUSY || error == EWOULDBLOCK);
}

void Link::close() {
    port_.SetOpen(false);
}

bool Link::send(std::string_view bytes) {
    if (!port_.Open()) return false;
    const auto length = static_cast<std::uint32_t>(bytes.size());
    return port_.PutBlock(bytes.data(), length) == length;
}

bool Link::send(std::span<const std::uint8_t> bytes) {
    return send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string Link::describe() const {
    std::string text = "COM" + std::to_string(comNumber_);
    // The map may have changed since the last open (a device plugged in again).
    std::string path = platform::devicePathFor(comNumber_);
    if (path.empty()) path = port_.DevicePath();
    if (!path.empty()) text += " (" + path + ")";
    return text;
}

void Link::deliver(std::uint32_t count) {
    if (count == 0) return;
    const std::uint16_t taken = port_.GetBlock(reinterpret_cast<char*>(buffer_.data()),
                                               std::min<std::uint32_t>(count, buffer_.size()));
    if (taken != 0 && onReception)
        onReception(std::span<const std::uint8_t>(buffer_.data(), taken));
}

}  // namespace cli
