#pragma once
// The record of a batch: one CSV row per unit attempted (time, unit, the terminal's IDCOD,
// ok/failed, the differing parameters). Each row goes to the file in one write and is flushed to
// disk before the next unit starts, so Ctrl+C or a power cut leaves whole rows. Opening an
// existing log reads which units are done (their latest row says ok); the others are attempted
// again.
#include <map>
#include <optional>
#include <set>
#include <string>

namespace cli {

inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultFailed = "failed";

struct LogRow {
    std::string time;
    std::string unit;
    std::string idCode;
    std::string result;       // kResultOk or kResultFailed
    std::string differences;  // "; " between parameters
};

class BatchLog {
public:
    BatchLog() = default;
    BatchLog(BatchLog&& other) noexcept;
    BatchLog& operator=(BatchLog&& other) noexcept;
    ~BatchLog();

    // Opens or creates the log (writing its header); nullopt with `error` set when it cannot be
    // read or written, or holds something other than a batch log.
    static std::optional<BatchLog> open(const std::string& path, std::string& error);

    bool done(const std::string& unit) const { return done_.count(unit) != 0; }
    // The unit a terminal with this IDCOD was commissioned as (its latest row ok), if any.
    const std::string* unitWithIdCode(const std::string& idCode) const;
    // Appends the row and flushes it to disk; false with `error` set when that failed.
    bool append(const LogRow& row, std::string& error);

private:
    bool writeWhole(const std::string& bytes, std::string& error);

    int fd_ = -1;
    std::string path_;
    void note(const LogRow& row);

    std::set<std::string> done_;
    std::map<std::string, std::string> unitByIdCode_;
};

}  // namespace cli
