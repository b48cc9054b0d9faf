#include "platform/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <system_error>

#include "platform/Catalogue.h"
#include "platform/FileTarget.h"

namespace platform {
namespace {

InputFile failed(InputStatus status, int error) {
    InputFile file;
    file.status = status;
    file.error = error;
    file.reason = std::system_category().message(error);
    return file;
}

InputFile refused(InputStatus status, std::string reason) {
    InputFile file;
    file.status = status;
    file.reason = std::move(reason);
    return file;
}

std::string tooLarge(std::size_t maxBytes) {
    return platform::translated("InputFile", "файл больше ") + std::to_string(maxBytes) +
           platform::translated("InputFile", " байт");
}

}  // namespace

std::string refusalText(const std::string& path, const InputFile& file) {
    return platform::translated("InputFile", "Файл \"") + path +
           platform::translated("InputFile", "\" не открыт: ") + file.reason + ".";
}

InputFile readInputFile(const std::string& path, std::size_t maxBytes) {
    // Looked at before opening, because opening some devices already acts on them.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return failed(InputStatus::CannotOpen, errno);
    // A folder fails as reading it does (the window's "File Error").
    if (S_ISDIR(st.st_mode)) return failed(InputStatus::Failed, EISDIR);
    if (std::string reason = notRegularReason(st.st_mode); !reason.empty())
        return refused(InputStatus::NotRegular, std::move(reason));

    // Non-blocking, so a FIFO that took the file's place meanwhile does not hold the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return failed(InputStatus::CannotOpen, errno);
    InputFile file;
    if (::fstat(fd, &st) != 0) {
        file = failed(InputStatus::CannotOpen, errno);
    } else if (std::string reason = notRegularReason(st.st_mode); !reason.empty()) {
        file = refused(InputStatus::NotRegular, std::move(reason));
    } else if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
        file = refused(InputStatus::TooLarge, tooLarge(maxBytes));
    } else {
        file.status = InputStatus::Read;
        // One byte more than allowed tells a file that grew while it was read.
        std::array<char, 65536> chunk;
        while (file.bytes.size() <= maxBytes) {
            const std::size_t want = std::min(chunk.size(), maxBytes + 1 - file.bytes.size());
            const ssize_t n = ::read(fd, chunk.data(), want);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                file = failed(InputStatus::Failed, errno);
                break;
            }
            if (n == 0) break;
            file.bytes.append(chunk.data(), static_cast<std::size_t>(n));
        }
        if (file.bytes.size() > maxBytes) file = refused(InputStatus::TooLarge, tooLarge(maxBytes));
    }
    ::close(fd);
    return file;
}

}  // namespace platform
