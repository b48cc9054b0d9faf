#include "platform/FileTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/AtomicFile.h"

namespace platform {
namespace {

// Links followed before a chain counts as a loop; the kernel's own limit for a path.
constexpr int kMaxLinkHops = 40;

constexpr std::string_view kWriteFailed = "Не удалось записать файл";

// What a file that is not regular is, in a message; empty for a regular one.
std::string kindOf(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "устройство";
    if (S_ISFIFO(mode)) return "именованный канал (FIFO)";
    if (S_ISSOCK(mode)) return "сокет";
    if (S_ISDIR(mode)) return "папка";
    return "файл особого рода";
}

std::string notRegular(const std::string& kind) {
    return kind + ", а не обычный файл";
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

}  // namespace

FileTarget writableTarget(const std::string& requested) {
    std::string current = requested;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) return {current, ""};
            return {"", fileError(kWriteFailed, requested, errno)};
        }
        if (!S_ISLNK(st.st_mode)) {
            const std::string kind = kindOf(st.st_mode);
            if (kind.empty()) return {current, ""};
            std::string reason = current == requested ? "это " + notRegular(kind)
                                                      : "ссылка ведёт на \"" + current +
                                                            "\", а это " + notRegular(kind);
            return {"", std::string(kWriteFailed) + " \"" + requested + "\": " + reason};
        }
        if (hops == kMaxLinkHops) return {"", fileError(kWriteFailed, requested, ELOOP)};
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link);
        if (n < 0 || n == static_cast<ssize_t>(sizeof link))
            return {"", fileError(kWriteFailed, requested, n < 0 ? errno : ENAMETOOLONG)};
        const std::string next(link, static_cast<std::size_t>(n));
        // A relative link is relative to the folder holding the link.
        current = !next.empty() && next.front() == '/' ? next : folderOf(current) + next;
    }
}

std::string notRegularReason(unsigned mode) {
    const std::string kind = kindOf(static_cast<mode_t>(mode));
    return kind.empty() ? "" : "это " + notRegular(kind);
}

}  // namespace platform
