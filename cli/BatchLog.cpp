#include "cli/BatchLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <utility>

#include "cli/Csv.h"
#include "platform/FileTarget.h"
#include "platform/InputFile.h"

namespace cli {
namespace {

const CsvRow kHeader = {"time", "unit", "idcode", "result", "differences"};

}  // namespace

BatchLog::BatchLog(BatchLog&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), path_(std::move(other.path_)),
      done_(std::move(other.done_)), unitByIdCode_(std::move(other.unitByIdCode_)) {}

BatchLog& BatchLog::operator=(BatchLog&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        path_ = std::move(other.path_);
        done_ = std::move(other.done_);
        unitByIdCode_ = std::move(other.unitByIdCode_);
    }
    return *this;
}

BatchLog::~BatchLog() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<BatchLog> BatchLog::open(const std::string& path, std::string& error) {
    BatchLog log;
    log.path_ = path;
    // A log that is there but cannot be read must not be taken for a new one: its units would
    // be written again into other terminals.
    platform::InputFile read = platform::readInputFile(path, platform::kMaxBatchLogBytes);
    if (read.status != platform::InputStatus::Read &&
        !(read.status == platform::InputStatus::CannotOpen && read.error == ENOENT)) {
        error = path + ": " + read.reason;
        return std::nullopt;
    }
    const std::string existing = std::move(read.bytes);
    if (!existing.empty()) {
        const auto table = parseCsv(existing, error);
        if (!table || table->rows.empty() || table->rows[0] != kHeader) {
            error = path + ": not a batch log (its first row must be " +
                    csvLine(kHeader).substr(0, csvLine(kHeader).size() - 1) + ")";
            return std::nullopt;
        }
        // The latest row of a unit decides; a row cut short by a crash has too few cells.
        for (std::size_t r = 1; r < table->rows.size(); ++r) {
            const std::vector<std::string>& cells = table->rows[r];
            if (cells.size() == kHeader.size()) log.note({cells[0], cells[1], cells[2], cells[3], cells[4]});
        }
    }
    // Non-blocking and checked once open: a FIFO put in its place meanwhile holds nothing up.
    log.fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
    if (log.fd_ < 0) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (struct stat st {};
        ::fstat(log.fd_, &st) != 0 || !platform::notRegularReason(st.st_mode).empty()) {
        error = path + ": " + platform::notRegularReason(st.st_mode);
        return std::nullopt;
    }
    // A row cut short ends its own line, so the next row starts on a line of its own.
    if (existing.empty() && !log.writeWhole(csvLine(kHeader), error)) return std::nullopt;
    if (!existing.empty() && existing.back() != '\n' && !log.writeWhole("\n", error))
        return std::nullopt;
    return log;
}

bool BatchLog::append(const LogRow& row, std::string& error) {
    if (!writeWhole(csvLine({row.time, row.unit, row.idCode, row.result, row.differences}), error))
        return false;
    note(row);
    return true;
}

void BatchLog::note(const LogRow& row) {
    std::erase_if(unitByIdCode_, [&](const auto& entry) { return entry.second == row.unit; });
    if (row.result != kResultOk) {
        done_.erase(row.unit);
        return;
    }
    done_.insert(row.unit);
    if (!row.idCode.empty()) unitByIdCode_[row.idCode] = row.unit;
}

const std::string* BatchLog::unitWithIdCode(const std::string& idCode) const {
    const auto it = unitByIdCode_.find(idCode);
    return it == unitByIdCode_.end() ? nullptr : &it->second;
}

bool BatchLog::writeWhole(const std::string& bytes, std::string& error) {
    // A log saved over by an editor, or removed, while the batch runs would take rows that no
    // later run reads: the units they record would be taken for new ones.
    struct stat open {}, named {};
    if (::fstat(fd_, &open) != 0 || ::stat(path_.c_str(), &named) != 0 ||
        open.st_dev != named.st_dev || open.st_ino != named.st_ino) {
        error = path_ + ": the log was replaced or removed while the batch ran";
        return false;
    }
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = path_ + ": " + std::strerror(errno);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd_) != 0) {
        error = path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace cli
