#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "platform/Catalogue.h"
#include "platform/FileTarget.h"

namespace platform {
namespace {

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// A new, exclusively created file beside `target`; the umask applies as to any created file.
int createTemporary(const std::string& target, std::string& name) {
    static std::atomic<unsigned> serial{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
        int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// The rename is durable only once the folder's entry is on disk too.
int syncFolder(const std::string& path) {
    int fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

}  // namespace

std::string fileError(std::string_view what, const std::string& file, int error) {
    std::string text(what);
    text += " \"" + file + "\": " + std::system_category().message(error);
    return text;
}

PendingFile::~PendingFile() {
    discard();
}

void PendingFile::discard() {
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

std::string PendingFile::prepare(const std::string& target, std::string_view bytes) {
    discard();
    requested_ = target;
    FileTarget resolved = writableTarget(target);
    if (!resolved.error.empty()) return resolved.error;
    target_ = std::move(resolved.path);
    std::string name;
    int fd = createTemporary(target_, name);
    if (fd < 0)
        return fileError(platform::translated("AtomicFile", "Не удалось создать файл"), target,
                         errno);
    temporary_ = name;

    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);

    int error = 0;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        discard();
        return fileError(platform::translated("AtomicFile", "Не удалось записать файл"), target,
                         error);
    }
    return "";
}

std::string PendingFile::commit() {
    if (temporary_.empty()) return "";
    // Whatever took the file's place since prepare() is judged again before it is replaced.
    if (FileTarget now = writableTarget(target_); !now.error.empty() || now.path != target_) {
        discard();
        return now.error.empty()
                   ? platform::translated("AtomicFile", "Не удалось заменить файл \"") +
                         requested_ +
                         platform::translated(
                             "AtomicFile", "\": пока он записывался, на его месте появилась ссылка")
                   : now.error;
    }
    // The check above and the rename are two steps; swapping instead of renaming closes the gap:
    // what stood at the target comes out under the temporary name and is put back unless it is a
    // regular file, so not even a device node placed there a moment ago is replaced.
    if (::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) ==
        0) {
        struct stat old {};
        if (::lstat(temporary_.c_str(), &old) == 0 && !S_ISREG(old.st_mode)) {
            ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE);
            discard();
            return platform::translated("AtomicFile", "Не удалось заменить файл \"") + requested_ +
                   platform::translated("AtomicFile", "\": пока он записывался, ") +
                   notRegularReason(old.st_mode);
        }
        discard();  // the replaced file, now under the temporary name
    } else {
        // No file there to swap with (nothing may appear there meanwhile), or a file system
        // that cannot swap.
        const bool absent = errno == ENOENT;
        const unsigned flags = absent ? RENAME_NOREPLACE : 0;
        if ((absent || errno == EINVAL || errno == ENOSYS) &&
            ::renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), flags) == 0) {
            temporary_.clear();
        } else {
            int error = errno;
            discard();
            return fileError(platform::translated("AtomicFile", "Не удалось заменить файл"),
                             requested_, error);
        }
    }
    if (int error = syncFolder(target_))
        return fileError(
            platform::translated("AtomicFile", "Не удалось сбросить на диск папку файла"),
            requested_, error);
    return "";
}

std::string writeFileAtomically(const std::string& target, std::string_view bytes) {
    PendingFile file;
    std::string error = file.prepare(target, bytes);
    return error.empty() ? file.commit() : error;
}

}  // namespace platform
