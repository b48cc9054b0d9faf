#include "platform/DeviceWatch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

namespace {
constexpr std::uint32_t kComeAndGo = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
}

DeviceWatch::DeviceWatch(const std::string& devRoot) : devRoot_(devRoot) {
    fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0) return;
    devWatch_ = ::inotify_add_watch(fd_, devRoot.c_str(), kComeAndGo);
    // Every name in these is a serial device or a name of one.
    ::inotify_add_watch(fd_, (devRoot + "/pts").c_str(), kComeAndGo);
    watchStableNames();
}

// udev makes /dev/serial/by-id with the first adapter, a moment after its node: the stable name
// it adds then must be seen too, or the port would be listed under its unstable one.
void DeviceWatch::watchStableNames() {
    serialWatch_ = ::inotify_add_watch(fd_, (devRoot_ + "/serial").c_str(), IN_CREATE);
    ::inotify_add_watch(fd_, (devRoot_ + "/serial/by-id").c_str(), kComeAndGo);
}

DeviceWatch::~DeviceWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool DeviceWatch::takeChanges() {
    bool serial = false;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const std::string name = event->len ? event->name : "";
            if ((event->wd == devWatch_ && name == "serial") ||
                (event->wd == serialWatch_ && name == "by-id"))
                watchStableNames();
            if (event->wd != devWatch_ || name.rfind("tty", 0) == 0 || name == "serial")
                serial = true;
        }
    }
    return serial;
}

}  // namespace platform
