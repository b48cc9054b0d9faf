#pragma once
// The whole terminal as the configurator meets it: the settings firmware, and the bootloader it
// comes up in after the host has closed and reopened the line (as the firmware upload does).
//
// - Runs its settings firmware at first.
// - When the host closes the line, the next open finds the bootloader. A settings request there
//   (a "$", which never starts a record) makes the bootloader hand over to the settings firmware
//   at once, so an ordinary reconnect still reads settings.
// - When the host closes the line after the bootloader took records, the new firmware starts:
//   the settings are kept and IDCOD= reports the image's version ("VERSION=<v>" in its payload,
//   else the old version with its last number raised by one).
#include <memory>
#include <mutex>
#include <string>

#include "tools/BootloaderMode.h"
#include "tools/SettingsMode.h"

namespace sim {

class TerminalMode : public Mode {
  public:
    enum class State { Settings, BootOnNextOpen, Bootloader };

    TerminalMode(SettingsOptions settings = {}, BootloaderOptions boot = {},
                 ParameterStore store = {});

    void received(const std::uint8_t* data, std::size_t length, Line& line) override;
    std::optional<Clock::time_point> wakeAt() const override;
    void tick(Line& line) override;
    void linkOpened(Line& line) override;
    void linkClosed(Line& line) override;

    // Any thread.
    State state() const;
    unsigned updatesInstalled() const;
    ParameterStore store() const;
    bool saveStore(const std::string& path) const;

  private:
    void startFirmware(ParameterStore store);
    void installImage();

    SettingsOptions settingsOptions_;
    BootloaderOptions bootOptions_;
    std::unique_ptr<BootloaderMode> boot_;  // engine thread
    bool bootSawBytes_ = false;

    mutable std::mutex lock_;  // guards what follows
    std::unique_ptr<SettingsMode> settings_;
    State state_ = State::Settings;
    unsigned updates_ = 0;
};

// The version an image carries ("VERSION=<v>" in its record payloads), or empty.
std::string imageVersion(const std::vector<std::uint8_t>& image);
// `idCode` with its version (the first "<digits>.<digits>") replaced by `version`, or raised by
// one in its last digits when `version` is empty.
std::string withVersion(const std::string& idCode, const std::string& version);

}  // namespace sim
