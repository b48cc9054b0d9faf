#include "platform/qt/QtMainThread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <cstdint>
#include <cstdlib>

#include "platform/MainThread.h"
#include "platform/qt/QtAfterDelivery.h"

namespace platform {
namespace {

// One eventfd for the whole run: a queued call writes it (a single syscall, no allocation, no
// posted event), the event loop's poll sees it readable and the notifier drains the queue. Several
// writes before the drain add up in the counter and wake the loop once.
int wakeFd() {
    static const int fd = [] {
        const int made = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
        // Without it no delivery of the port could ever reach the window: fail at start-up.
        if (made < 0) std::abort();
        return made;
    }();
    return fd;
}

// The notifier lives under the application object, so a later application gets a new one.
QPointer<QSocketNotifier>& notifier() {
    static QPointer<QSocketNotifier> n;
    return n;
}

}  // namespace

void installQtMainThreadHook() {
    MainThread::adoptCurrentThread();
    QCoreApplication* app = QCoreApplication::instance();
    if (app && (!notifier() || notifier()->parent() != app)) {
        delete notifier().data();
        notifier() = new QSocketNotifier(wakeFd(), QSocketNotifier::Read, app);
        QObject::connect(notifier().data(), &QSocketNotifier::activated, [] {
            std::uint64_t count;
            [[maybe_unused]] ssize_t n = ::read(wakeFd(), &count, sizeof count);
            // Read first: a call queued while this drain runs (or inside a nested loop that a
            // handler opens) writes again and is drained there.
            MainThread::drain();
        });
    }
    MainThread::setWakeHook([] {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd(), &one, sizeof one);
    });
    installQtAfterDeliveryPoster();
}

}  // namespace platform
