#include "platform/FileTarget.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"

namespace platform {
namespace {

// Links followed before a chain counts as a loop; the kernel's own limit for a path.
constexpr int kMaxLinkHops = 40;

constexpr const char* kWriteFailed = VIGIL_TRANSLATABLE("FileTarget", "Не удалось записать файл");

// What a file that is not regular is, in a message; empty for a regular one.
std::string kindOf(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return platform::translated("FileTarget", "устройство");
    if (S_ISFIFO(mode)) return platform::translated("FileTarget", "именованный канал (FIFO)");
    if (S_ISSOCK(mode)) return platform::translated("FileTarget", "сокет");
    if (S_ISDIR(mode)) return platform::translated("FileTarget", "папка");
    return platform::translated("FileTarget", "файл особого рода");
}

std::string notRegular(const std::string& kind) {
    return kind + platform::translated("FileTarget", ", а не обычный файл");
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
            return {"", fileError(translated("FileTarget", kWriteFailed), requested, errno)};
        }
        if (!S_ISLNK(st.st_mode)) {
            const std::string kind = kindOf(st.st_mode);
            if (kind.empty()) return {current, ""};
            std::string reason =
                current == requested
                    ? platform::translated("FileTarget", "это ") + notRegular(kind)
                    : platform::translated("FileTarget", "ссылка ведёт на \"") + current +
                          platform::translated("FileTarget", "\", а это ") + notRegular(kind);
            return {"",
                    translated("FileTarget", kWriteFailed) + " \"" + requested + "\": " + reason};
        }
        if (hops == kMaxLinkHops)
            return {"", fileError(translated("FileTarget", kWriteFailed), requested, ELOOP)};
        char link[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), link, sizeof link);
        if (n < 0 || n == static_cast<ssize_t>(sizeof link))
            return {"", fileError(translated("FileTarget", kWriteFailed), requested,
                                  n < 0 ? errno : ENAMETOOLONG)};
        const std::string next(link, static_cast<std::size_t>(n));
        // A relative link is relative to the folder holding the link.
        current = !next.empty() && next.front() == '/' ? next : folderOf(current) + next;
    }
}

std::string notRegularReason(unsigned mode) {
    const std::string kind = kindOf(static_cast<mode_t>(mode));
    return kind.empty() ? "" : platform::translated("FileTarget", "это ") + notRegular(kind);
}

}  // namespace platform
