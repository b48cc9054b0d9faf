#include "tools/SettingsMode.h"

#include <algorithm>
#include <fstream>

namespace sim {

namespace {

constexpr std::string_view kPrefix = "$Pass=";
constexpr std::string_view kEnd = "End";
constexpr std::size_t kMaxPendingRequest = 64 * 1024;  // drop a request that never ends
const std::uint16_t kModemCodes[] = {200, 400, 403};

}  // namespace

SettingsMode::SettingsMode(SettingsOptions options, ParameterStore store)
    : options_(std::move(options)),
      muted_(options_.mute),
      random_(options_.seed),
      store_(std::move(store)) {}

void SettingsMode::received(const std::uint8_t* data, std::size_t length, Line& line) {
    buffer_.append(reinterpret_cast<const char*>(data), length);
    for (;;) {
        const std::size_t start = buffer_.find(kPrefix);
        if (start == std::string::npos) {
            // Keep a tail that may be the start of a prefix.
            if (buffer_.size() > kPrefix.size()) buffer_.erase(0, buffer_.size() - kPrefix.size());
            return;
        }
        buffer_.erase(0, start);
        // Fields between ':' after the prefix: the password, then items up to "End".
        std::vector<std::string> fields;
        std::size_t pos = kPrefix.size();
        bool complete = false;
        for (std::size_t colon; (colon = buffer_.find(':', pos)) != std::string::npos;
             pos = colon + 1) {
            fields.push_back(buffer_.substr(pos, colon - pos));
            if (fields.size() > 1 && fields.back() == kEnd) {
                complete = true;
                pos = colon + 1;
                break;
            }
        }
        if (!complete) {
            if (buffer_.size() > kMaxPendingRequest) buffer_.clear();
            return;
        }
        const std::string request = buffer_.substr(0, pos);
        buffer_.erase(0, pos);
        const bool passwordOk = fields.front() == options_.password;
        fields.erase(fields.begin());
        fields.pop_back();
        handle(request, fields, passwordOk, line);
    }
}

void SettingsMode::handle(const std::string& request, const std::vector<std::string>& items,
                          bool passwordOk, Line& line) {
    {
        std::lock_guard lock(lock_);
        requests_.push_back(request);
    }
    if (!options_.logFile.empty()) {
        std::ofstream log(options_.logFile, std::ios::binary | std::ios::app);
        log << request;
    }
    if (muted_) return;
    if (!passwordOk) {
        line.send(kWrongPasswordAnswer, std::chrono::milliseconds(options_.answerDelayMs));
        return;
    }

    std::vector<std::string> answer;
    std::unique_lock lock(lock_);
    if (items.empty()) {
        for (const protocol::Parameter& p : protocol::kParameters)
            answer.push_back(store_.answerItem(p));
        if (options_.order == SettingsOptions::Order::Reverse)
            std::reverse(answer.begin(), answer.end());
        if (options_.order == SettingsOptions::Order::Shuffled)
            std::shuffle(answer.begin(), answer.end(), random_);
    }
    for (const std::string& item : items) {
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos) continue;
        const std::string_view key = std::string_view(item).substr(0, eq + 1);
        const std::string value = item.substr(eq + 1);
        if (key == "Eeprom=" && value == "Erase") store_.erase();
        if (key == "Monitor=" && (value == "On" || value == "Off")) {
            monitor_ = value == "On";
            nextMonitor_ = line.now() + std::chrono::milliseconds(options_.monitorIntervalMs);
        }
        for (const protocol::Parameter& p : protocol::kParameters) {
            if (p.writeKey.empty() || p.writeKey != key) continue;
            const bool cut = options_.textLimit != 0 && p.form == protocol::ValueForm::Text;
            store_.set(p, cut ? value.substr(0, options_.textLimit) : value);
            answer.push_back(store_.answerItem(p));
        }
    }
    lock.unlock();
    sendAnswer(answer, line);
}

void SettingsMode::sendAnswer(const std::vector<std::string>& items, Line& line) {
    if (items.empty()) return;
    std::string whole;
    std::vector<std::size_t> cuts;  // where a piece may end
    for (const std::string& item : items) {
        whole += item;
        cuts.push_back(whole.size());
    }
    const std::size_t pieces = std::clamp<std::size_t>(
        options_.chunks, 1, options_.cutInsideItems ? whole.size() : items.size());
    std::size_t from = 0;
    auto delay = std::chrono::milliseconds(options_.answerDelayMs);
    for (std::size_t k = 1; k <= pieces; ++k) {
        std::size_t to = whole.size() * k / pieces;
        if (!options_.cutInsideItems) to = *std::lower_bound(cuts.begin(), cuts.end(), to);
        if (to <= from) continue;
        line.send(whole.substr(from, to - from), delay);
        from = to;
        delay = std::chrono::milliseconds(options_.gapMs);
    }
}

std::optional<Clock::time_point> SettingsMode::wakeAt() const {
    std::lock_guard lock(lock_);
    if (!monitor_) return std::nullopt;
    return nextMonitor_;
}

void SettingsMode::tick(Line& line) {
    line.send(monitorOutput());
    nextMonitor_ = line.now() + std::chrono::milliseconds(std::max(1u, options_.monitorIntervalMs));
}

std::string SettingsMode::monitorOutput() {
    const unsigned k = monitorCount_++;
    if (k % 3 == 2) {
        const std::uint16_t code = kModemCodes[(k / 3) % 3];
        std::string payload;
        payload += static_cast<char>(code & 0xFF);
        payload += static_cast<char>(code >> 8);
        payload += "{\"id\":4512,\"ack\":" + std::to_string(k) + "}";
        return "+IPD," + std::to_string(payload.size()) + ":" + payload;
    }
    if (k % 3 == 0) return "$GPRMC,123519,A,5545.1234,N,03737.5678,E,0.5,54.7,081226,,*1A\r\n";
    return "GSM: CSQ 21,0 REG 1\r\n";
}

std::vector<std::string> SettingsMode::requests() const {
    std::lock_guard lock(lock_);
    return requests_;
}

void SettingsMode::setValue(const protocol::Parameter& p, std::string cp1251) {
    std::lock_guard lock(lock_);
    store_.set(p, std::move(cp1251));
}

ParameterStore SettingsMode::store() const {
    std::lock_guard lock(lock_);
    return store_;
}

bool SettingsMode::monitorOn() const {
    std::lock_guard lock(lock_);
    return monitor_;
}

bool SettingsMode::saveStore(const std::string& path) const {
    return store().save(path);
}

}  // namespace sim
