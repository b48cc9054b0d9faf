#include "session/BatchLog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "files/Csv.h"
#include "platform/Catalogue.h"
#include "platform/FileTarget.h"
#include "platform/InputFile.h"
#include "platform/ProcessTable.h"
#include "session/UnitIdentity.h"

namespace session {
namespace {

const files::CsvRow kHeader = {"time", "unit", "idcode", "result", "differences"};

std::string headerText() {
    const std::string line = files::csvLine(kHeader);
    return line.substr(0, line.size() - 1);
}

std::string systemError(const std::string& path) {
    return path + ": " + std::strerror(errno);
}

// "a batch (vigil, pid 4711)", or as much as the system tells.
std::string holderText(const std::string& path) {
    const auto holders = platform::ProcessTable().lockHoldersOf(path);
    if (holders.empty()) return platform::translated("vigil", "another batch");
    const platform::ProcessInfo& h = holders.front();
    return platform::withArgs(platform::translated("vigil", "another batch (%1, pid %2)"),
                              {h.name.empty() ? platform::translated("vigil", "a program") : h.name,
                               std::to_string(h.pid)});
}

bool readAll(int fd, std::string& text) {
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

}  // namespace

LogRow attemptRow(std::string time, std::string unit, std::string idCode,
                  const std::vector<std::string>& differences) {
    std::string joined;
    for (const std::string& d : differences) joined += (joined.empty() ? "" : "; ") + d;
    return {std::move(time), std::move(unit), std::move(idCode),
            differences.empty() ? kResultOk : kResultFailed, std::move(joined)};
}

std::optional<LogContents> parseBatchLog(std::string_view text, const std::string& name,
                                         std::string& error) {
    const auto table = files::parseCsv(text, error);
    if (!table) {
        error = name + ": " + error;
        return std::nullopt;
    }
    if (table->rows.empty() || table->rows[0] != kHeader) {
        error = platform::withArgs(
            platform::translated("vigil", "%1: not a batch log (its first row must be %2)"),
            {name, headerText()});
        return std::nullopt;
    }
    LogContents contents;
    contents.separator = table->separator;
    for (std::size_t r = 1; r < table->rows.size(); ++r) {
        const files::CsvRow& cells = table->rows[r];
        const std::string at = name + ":" + std::to_string(table->lines[r]) + ": ";
        if (cells.size() < kHeader.size()) {
            contents.refused.push_back(
                at + platform::withArgs(
                         platform::translated("vigil", "a row cut short (%1 cells), not taken"),
                         {std::to_string(cells.size())}));
            continue;
        }
        std::string why;
        if (cells.size() > kHeader.size())
            why =
                platform::withArgs(platform::translated("vigil", "%1 cells, the header has %2"),
                                   {std::to_string(cells.size()), std::to_string(kHeader.size())});
        else if (cells[1].empty())
            why = platform::translated("vigil", "a row without its unit");
        else if (cells[3] != kResultOk && cells[3] != kResultFailed)
            why = platform::withArgs(
                platform::translated("vigil", "result \"%1\" is neither %2 nor %3"),
                {cells[3], kResultOk, kResultFailed});
        if (!why.empty()) {
            error = at + platform::withArgs(
                             platform::translated("vigil", "%1; mend or remove the row"), {why});
            return std::nullopt;
        }
        contents.rows.push_back({cells[0], cells[1], cells[2], cells[3], cells[4]});
    }
    return contents;
}

BatchLog::BatchLog(BatchLog&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      path_(std::move(other.path_)),
      separator_(other.separator_),
      latest_(std::move(other.latest_)),
      unitByIdentity_(std::move(other.unitByIdentity_)),
      refused_(std::move(other.refused_)) {}

BatchLog& BatchLog::operator=(BatchLog&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        separator_ = other.separator_;
        latest_ = std::move(other.latest_);
        unitByIdentity_ = std::move(other.unitByIdentity_);
        refused_ = std::move(other.refused_);
    }
    return *this;
}

BatchLog::~BatchLog() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<BatchLog> BatchLog::open(const std::string& path, std::string& error) {
    BatchLog log;
    log.path_ = path;
    // A link is followed to its file; anything but a regular file is refused before it is opened
    // (a FIFO would block, a device would be written to).
    if (const platform::FileTarget target = platform::writableTarget(path); !target.error.empty()) {
        error = target.error;
        return std::nullopt;
    }
    log.fd_ =
        ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
    if (log.fd_ < 0) {
        error = systemError(path);
        return std::nullopt;
    }
    // The path may have been swapped for something else between the check and the open.
    struct stat st {};
    if (::fstat(log.fd_, &st) != 0 || !platform::notRegularReason(st.st_mode).empty()) {
        error = path + ": " + platform::notRegularReason(st.st_mode);
        return std::nullopt;
    }
    if (static_cast<std::size_t>(st.st_size) > platform::kMaxBatchLogBytes) {
        error = platform::withArgs(
            platform::translated("vigil", "%1: larger than %2 MiB, not a batch log"),
            {path, std::to_string(platform::kMaxBatchLogBytes >> 20)});
        return std::nullopt;
    }
    if (::flock(log.fd_, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK
                    ? platform::withArgs(
                          platform::translated("vigil", "%1: in use by %2; one batch per log"),
                          {path, holderText(path)})
                    : systemError(path);
        return std::nullopt;
    }
    std::string existing;
    if (!readAll(log.fd_, existing)) {
        error = systemError(path);
        return std::nullopt;
    }
    if (existing.empty()) {
        if (!log.writeWhole(files::csvLine(kHeader), error)) return std::nullopt;
        return log;
    }
    // A row cut short at the end (the program stopped inside its write) is ended here, its quote
    // closed if the cut fell inside one, so that the next row starts on a line of its own and no
    // quote of the cut row runs on into it. Read, it is refused for its missing cells.
    if (existing.back() != '\n') {
        const bool insideQuote = std::count(existing.begin(), existing.end(), '"') % 2 != 0;
        const std::string ending = insideQuote ? "\"\n" : "\n";
        if (!log.writeWhole(ending, error)) return std::nullopt;
        existing += ending;
    }
    const auto contents = parseBatchLog(existing, path, error);
    if (!contents) return std::nullopt;
    log.separator_ = contents->separator;
    log.refused_.insert(log.refused_.end(), contents->refused.begin(), contents->refused.end());
    for (const LogRow& row : contents->rows) log.note(row);
    return log;
}

bool BatchLog::done(const std::string& unit) const {
    const auto it = latest_.find(unit);
    if (it == latest_.end() || it->second.result != kResultOk) return false;
    // A later row that names its terminal under another unit (a log edited by hand) means that
    // terminal holds the other unit's values now: this one is not done anywhere.
    const std::string identity = unitIdentity(it->second.idCode);
    const auto bound = unitByIdentity_.find(identity);
    return identity.empty() || bound == unitByIdentity_.end() || bound->second == unit;
}

bool BatchLog::bound(const std::string& unit) const {
    return std::any_of(unitByIdentity_.begin(), unitByIdentity_.end(),
                       [&](const auto& entry) { return entry.second == unit; });
}

std::string BatchLog::idCodeOf(const std::string& unit) const {
    const auto it = latest_.find(unit);
    return it == latest_.end() ? std::string() : it->second.idCode;
}

const std::string* BatchLog::unitOf(std::string_view idCodText) const {
    const std::string identity = unitIdentity(idCodText);
    if (identity.empty()) return nullptr;
    const auto it = unitByIdentity_.find(identity);
    return it == unitByIdentity_.end() ? nullptr : &it->second;
}

bool BatchLog::append(const LogRow& row, std::string& error) {
    // A spreadsheet that saved over the log while the batch ran replaced the file: rows written
    // to the old one would be lost with it.
    struct stat now {
    }, mine{};
    if (::stat(path_.c_str(), &now) != 0 || ::fstat(fd_, &mine) != 0 || now.st_dev != mine.st_dev ||
        now.st_ino != mine.st_ino) {
        error = platform::withArgs(
            platform::translated("vigil",
                                 "%1: replaced or removed while the batch ran; the row for unit %2 "
                                 "is not written (put the file back, or start again "
                                 "with a copy)"),
            {path_, row.unit});
        return false;
    }
    if (!writeWhole(files::csvLine({row.time, row.unit, row.idCode, row.result, row.differences},
                                   separator_),
                    error))
        return false;
    note(row);
    return true;
}

void BatchLog::note(const LogRow& row) {
    latest_[row.unit] = row;
    if (const std::string identity = unitIdentity(row.idCode); !identity.empty())
        unitByIdentity_[identity] = row.unit;
}

bool BatchLog::writeWhole(const std::string& bytes, std::string& error) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = systemError(path_);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd_) != 0) {
        error = systemError(path_);
        return false;
    }
    return true;
}

}  // namespace session
