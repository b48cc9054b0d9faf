#pragma once
// The record of a batch: one CSV row per unit attempted (time, unit, the terminal's whole IDCOD
// text, ok/failed, the differing parameters). Each row goes to the file in one write and is
// flushed to disk before the next unit starts, so Ctrl+C or a power cut leaves whole rows.
//
// The log binds units to terminals: a terminal whose identity (session/UnitIdentity.h) has a row
// is that row's unit from then on, whatever happened to it. A unit is done when its latest row
// says ok and no later row names that terminal under another unit. While a batch has the log open
// it holds a lock on it, so a second batch on the same log stops at once instead of working from a
// copy of it.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace session {

inline constexpr const char* kResultOk = "ok";
inline constexpr const char* kResultFailed = "failed";

struct LogRow {
    std::string time;
    std::string unit;
    std::string idCode;       // the whole IDCOD= text
    std::string result;       // kResultOk or kResultFailed
    std::string differences;  // "; " between parameters
};

// The row of an attempt: ok when nothing differs, else failed with the differences.
LogRow attemptRow(std::string time, std::string unit, std::string idCode,
                  const std::vector<std::string>& differences);

// A log's text, row by row: each row is taken whole or refused with its line number.
struct LogContents {
    char separator = ',';
    std::vector<LogRow> rows;
    std::vector<std::string> refused;  // "LOG:7: ..." for each row not taken
};

// nullopt with `error` set (naming the file, and the line where it can) for a text that is not a
// batch log: a first row other than the header, a quote never closed, a row with more cells than
// the header, without a unit, or with a result other than ok/failed. A row with fewer cells was
// cut short; it is refused, and the rest is taken.
std::optional<LogContents> parseBatchLog(std::string_view text, const std::string& name,
                                         std::string& error);

class BatchLog {
  public:
    BatchLog() = default;
    BatchLog(BatchLog&& other) noexcept;
    BatchLog& operator=(BatchLog&& other) noexcept;
    ~BatchLog();

    // Opens or creates the log (writing its header) and locks it; nullopt with `error` set when
    // it is not a regular file, cannot be read or written, holds something other than a batch
    // log, or another program holds it (named). A row a crash cut short at the end is ended, and
    // refused.
    static std::optional<BatchLog> open(const std::string& path, std::string& error);

    // Whether the unit's latest row says ok and no later row names that terminal under another
    // unit.
    bool done(const std::string& unit) const;
    // Whether a terminal is bound to the unit: a row of it names the terminal's identity, and no
    // later row names that identity under another unit.
    bool bound(const std::string& unit) const;
    // The whole IDCOD text of the unit's latest row, or empty.
    std::string idCodeOf(const std::string& unit) const;
    // The unit a terminal with this IDCOD text is (its identity has a row), or nullptr.
    const std::string* unitOf(std::string_view idCodText) const;
    // Rows the log refused, for the operator.
    const std::vector<std::string>& refused() const { return refused_; }

    // Appends the row and flushes it to disk; false with `error` set when that failed or the
    // file at the path is no longer the one opened.
    bool append(const LogRow& row, std::string& error);

  private:
    bool writeWhole(const std::string& bytes, std::string& error);
    void note(const LogRow& row);

    int fd_ = -1;
    std::string path_;
    char separator_ = ',';
    std::map<std::string, LogRow> latest_;  // by unit
    std::map<std::string, std::string> unitByIdentity_;
    std::vector<std::string> refused_;
};

}  // namespace session
