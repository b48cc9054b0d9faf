#pragma once
// The terminal's settings firmware. A request is "$Pass=", the password, ":", items ("Key=value:")
// and "End:". Without items it is a read, answered with every answer key of the parameter table;
// with write keys it stores the values and answers with the items it stored; "Eeprom=Erase:"
// erases; "Monitor=On:" starts the monitor output (text lines, and now and then a modem notice
// "+IPD,<n>:" with a binary payload led by a little-endian code 200, 400 or 403) until
// "Monitor=Off:". Every request is logged byte for byte.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tools/ParameterStore.h"
#include "tools/SimMode.h"

namespace sim {

struct SettingsOptions {
    enum class Order { Table, Reverse, Shuffled };
    Order order = Order::Table;   // of the items of a read answer
    unsigned chunks = 1;          // pieces an answer is sent in
    unsigned gapMs = 0;           // between the pieces
    bool cutInsideItems = false;  // split at any byte instead of between items
    unsigned answerDelayMs = 0;
    unsigned monitorIntervalMs = 200;
    unsigned seed = 1;
    std::string password = "Vostel";
    std::string logFile;     // every request appended byte for byte; empty for none
    bool mute = false;       // take (and log) requests but answer nothing
    unsigned textLimit = 0;  // store written texts cut to this many bytes (0: whole)
};

// The answer to a request with a wrong password (the configurator ignores it).
inline constexpr const char* kWrongPasswordAnswer = "ERROR=PASSWORD:";

class SettingsMode : public Mode {
  public:
    explicit SettingsMode(SettingsOptions options = {}, ParameterStore store = {});

    void received(const std::uint8_t* data, std::size_t length, Line& line) override;
    std::optional<Clock::time_point> wakeAt() const override;
    void tick(Line& line) override;

    // Any thread.
    std::vector<std::string> requests() const;  // every complete request, as received
    ParameterStore store() const;
    bool monitorOn() const;
    bool saveStore(const std::string& path) const;
    // Any thread: the terminal falls silent (or answers again) from the next request on.
    void setMuted(bool muted) { muted_ = muted; }
    void setAnswerDelay(unsigned ms) { options_.answerDelayMs = ms; }
    // Any thread: a value the terminal holds, e.g. another unit's IDCOD when units are swapped.
    void setValue(const protocol::Parameter& p, std::string cp1251);

  private:
    void handle(const std::string& request, const std::vector<std::string>& items, bool passwordOk,
                Line& line);
    void sendAnswer(const std::vector<std::string>& items, Line& line);
    std::string monitorOutput();

    SettingsOptions options_;
    std::atomic<bool> muted_;
    std::string buffer_;  // engine thread: bytes of the request being received
    std::mt19937 random_;
    Clock::time_point nextMonitor_{};
    unsigned monitorCount_ = 0;

    mutable std::mutex lock_;  // guards what follows
    ParameterStore store_;
    std::vector<std::string> requests_;
    bool monitor_ = false;
};

}  // namespace sim
