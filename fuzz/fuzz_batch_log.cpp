// A batch log with arbitrary content, read as a resumed batch reads it: each row is taken whole
// (and written back the same) or refused with its line; a log refused as a whole names the file.
// Opened as a file, a log cut short anywhere is ended so that the next row starts a line of its
// own. fuzz-flags: -max_len=4000
#include <sys/mman.h>
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/Csv.h"
#include "fuzz/FileTextCase.h"
#include "fuzz/FuzzSupport.h"
#include "session/BatchLog.h"

namespace {

const std::string kName = "log.csv";

bool startsWith(const std::string& text, const std::string& head) {
    return text.rfind(head, 0) == 0;
}

// The log's bytes in a file of its own, reused for the whole run.
int logFile(std::string_view text) {
    static const int fd = ::memfd_create("log.csv", MFD_CLOEXEC);
    fuzz::require(fd >= 0 && ::ftruncate(fd, 0) == 0, "the in-memory file can be emptied");
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n =
            ::pwrite(fd, text.data() + done, text.size() - done, static_cast<off_t>(done));
        fuzz::require(n > 0, "the in-memory file can be written");
        done += static_cast<std::size_t>(n);
    }
    return fd;
}

std::string contentsOf(int fd) {
    std::string text;
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n <= 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

// Every row is taken or refused; a row taken is taken whole: written back, it reads back the same.
void checkTaken(std::string_view text, const session::LogContents& contents) {
    std::string csvError;
    const auto table = files::parseCsv(text, csvError);
    fuzz::require(table && contents.rows.size() + contents.refused.size() + 1 == table->rows.size(),
                  "every row is taken or refused");
    for (const std::string& refused : contents.refused)
        fuzz::require(startsWith(refused, kName + ":") && refused.size() > kName.size() + 1 &&
                          std::isdigit(static_cast<unsigned char>(refused[kName.size() + 1])),
                      "a refused row names its line");
    std::string again = files::csvLine({"time", "unit", "idcode", "result", "differences"});
    for (const session::LogRow& r : contents.rows) {
        fuzz::require(!r.unit.empty() &&
                          (r.result == session::kResultOk || r.result == session::kResultFailed),
                      "a row taken has its unit and a result");
        again += files::csvLine({r.time, r.unit, r.idCode, r.result, r.differences});
    }
    std::string error;
    const auto reread = session::parseBatchLog(again, kName, error);
    fuzz::require(reread && reread->rows.size() == contents.rows.size() && reread->refused.empty(),
                  "rows taken read back whole");
    for (std::size_t i = 0; i < contents.rows.size(); ++i)
        fuzz::require(reread->rows[i].differences == contents.rows[i].differences &&
                          reread->rows[i].idCode == contents.rows[i].idCode,
                      "rows taken read back the same");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    fuzz::readFileText(
        text, kName, session::parseBatchLog,
        [](const std::string& error) {
            fuzz::require(startsWith(error, kName + ":"), "a refused log names itself");
        },
        [&](const session::LogContents& contents) { checkTaken(text, contents); });

    const int fd = logFile(text);
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    std::string error;
    auto log = session::BatchLog::open(path, error);
    if (!log) return 0;
    const std::string now = contentsOf(fd);
    fuzz::require(!now.empty() && now.back() == '\n', "an opened log ends with a whole line");
    fuzz::require(log->append({"t", "U", "004512 V", session::kResultOk, ""}, error),
                  "a row can be appended");
    fuzz::require(log->done("U"), "the row appended counts");
    std::string reopenError;
    log.reset();
    const auto reopened = session::BatchLog::open(path, reopenError);
    fuzz::require(reopened && reopened->done("U"), "the row appended reads back whole");
    return 0;
}
