#include "tools/TerminalMode.h"

#include <regex>

#include "update/UpdateFile.h"

namespace sim {

TerminalMode::TerminalMode(SettingsOptions settings, BootloaderOptions boot, ParameterStore store)
    : settingsOptions_(std::move(settings)), bootOptions_(std::move(boot)) {
    startFirmware(std::move(store));
}

void TerminalMode::startFirmware(ParameterStore store) {
    auto firmware = std::make_unique<SettingsMode>(settingsOptions_, std::move(store));
    std::lock_guard lock(lock_);
    settings_ = std::move(firmware);
    state_ = State::Settings;
}

void TerminalMode::received(const std::uint8_t* data, std::size_t length, Line& line) {
    if (length == 0) return;
    if (state() == State::Bootloader) {
        if (bootSawBytes_ || data[0] != '$') {
            bootSawBytes_ = true;
            boot_->received(data, length, line);
            return;
        }
        // No record starts with "$": the host wants the settings firmware, which starts now.
        boot_.reset();
        std::lock_guard lock(lock_);
        state_ = State::Settings;
    }
    settings_->received(data, length, line);
}

std::optional<Clock::time_point> TerminalMode::wakeAt() const {
    return state() == State::Bootloader ? std::nullopt : settings_->wakeAt();
}

void TerminalMode::tick(Line& line) {
    if (state() != State::Bootloader) settings_->tick(line);
}

void TerminalMode::linkOpened(Line&) {
    if (state() != State::BootOnNextOpen) return;
    boot_ = std::make_unique<BootloaderMode>(bootOptions_);
    bootSawBytes_ = false;
    std::lock_guard lock(lock_);
    state_ = State::Bootloader;
}

void TerminalMode::linkClosed(Line&) {
    const State now = state();
    if (now == State::Bootloader && boot_->recordsAccepted() > 0) {
        installImage();
        return;
    }
    if (now == State::Bootloader) boot_.reset();
    std::lock_guard lock(lock_);
    state_ = State::BootOnNextOpen;
}

void TerminalMode::installImage() {
    ParameterStore store = settings_->store();
    if (const protocol::Parameter* idCode = protocol::findByAnswerKey("IDCOD="))
        store.set(*idCode, withVersion(store.value(*idCode), imageVersion(boot_->image())));
    boot_.reset();
    startFirmware(std::move(store));
    std::lock_guard lock(lock_);
    ++updates_;
}

TerminalMode::State TerminalMode::state() const {
    std::lock_guard lock(lock_);
    return state_;
}

unsigned TerminalMode::updatesInstalled() const {
    std::lock_guard lock(lock_);
    return updates_;
}

ParameterStore TerminalMode::store() const {
    std::lock_guard lock(lock_);
    return settings_->store();
}

bool TerminalMode::saveStore(const std::string& path) const {
    std::lock_guard lock(lock_);
    return settings_->saveStore(path);
}

std::string imageVersion(const std::vector<std::uint8_t>& image) {
    std::string payload;
    for (std::size_t at = 0; at + update::kLengthFieldSize <= image.size();) {
        const std::size_t length = image[at] * 256u + image[at + 1];
        const std::size_t body = at + update::kLengthFieldSize;
        if (length < 2 || body + length > image.size()) break;
        payload.append(image.begin() + static_cast<long>(body),
                       image.begin() + static_cast<long>(body + length - 2));
        at = body + length;
    }
    std::smatch found;
    static const std::regex version("VERSION=([0-9A-Za-z.]{1,16})");
    return std::regex_search(payload, found, version) ? found[1].str() : std::string();
}

std::string withVersion(const std::string& idCode, const std::string& version) {
    static const std::regex number("([0-9]+)\\.([0-9]+)");
    std::smatch found;
    if (!std::regex_search(idCode, found, number))
        return version.empty() ? idCode : idCode + " " + version;
    std::string next = version;
    if (next.empty()) {
        const std::string minor = found[2].str();
        std::string raised = std::to_string(std::stoul(minor) + 1);
        if (raised.size() < minor.size()) raised.insert(0, minor.size() - raised.size(), '0');
        next = found[1].str() + "." + raised;
    }
    return found.prefix().str() + next + found.suffix().str();
}

}  // namespace sim
