#pragma once
// Terminals of their own (each its settings firmware, its store and its identification code)
// behind one pty, as an installer plugs one after another into the same cable. At most one is
// connected at a time; a swap takes effect from the next byte the line carries, and may be set
// to happen as a write request arrives: the worst moment, after the batch has identified the
// terminal and before its values reach it.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "protocol/Cp1251.h"
#include "tools/SettingsMode.h"

namespace testsupport {

class UnitSwitch : public sim::Mode {
  public:
    static constexpr int kNone = -1;

    // A terminal whose IDCOD= text is `idCode` (UTF-8).
    int add(const std::string& idCode, const sim::SettingsOptions& options = {}) {
        sim::ParameterStore store;
        store.set(*protocol::byControl("EIdCod"), protocol::toCp1251(idCode).value());
        units_.push_back(std::make_unique<sim::SettingsMode>(options, store));
        return static_cast<int>(units_.size()) - 1;
    }
    sim::SettingsMode& unit(int index) { return *units_.at(static_cast<std::size_t>(index)); }

    // Any thread.
    void plug(int index) { plugged_ = index; }
    void swapOnNextWrite(int index) { swapOnWrite_ = index; }
    // The cable is pulled as the next write request arrives (the line stays closed).
    void pullOnNextWrite() { pullOnWrite_ = true; }

    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        const std::string bytes(reinterpret_cast<const char*>(data), length);
        const bool write = bytes.find("TL1=") != std::string::npos;
        if (write && pullOnWrite_.exchange(false)) return line.unplug();
        if (write && swapOnWrite_ != kNone) plugged_ = swapOnWrite_.exchange(kNone);
        if (const int at = plugged_; at != kNone) unit(at).received(data, length, line);
    }

    // Write requests the terminal took in.
    std::size_t writes(int index) {
        std::size_t n = 0;
        for (const std::string& r : unit(index).requests())
            n += r.find("TL1=") != std::string::npos;
        return n;
    }

  private:
    std::vector<std::unique_ptr<sim::SettingsMode>> units_;
    std::atomic<int> plugged_{kNone};
    std::atomic<int> swapOnWrite_{kNone};
    std::atomic<bool> pullOnWrite_{false};
};

}  // namespace testsupport
