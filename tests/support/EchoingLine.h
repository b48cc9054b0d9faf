#pragma once
// The terminal's settings firmware behind a line that echoes every byte it is sent (an RS-485
// adapter, a terminal with its echo on): the echo of a request comes ahead of its answer.
#include <string>

#include "tools/SettingsMode.h"

namespace testsupport {

class EchoingLine : public sim::Mode {
  public:
    explicit EchoingLine(const sim::SettingsOptions& options = {}) : settings(options) {}
    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        line.send(std::string(reinterpret_cast<const char*>(data), length));
        settings.received(data, length, line);
    }
    sim::SettingsMode settings;
};

}  // namespace testsupport
