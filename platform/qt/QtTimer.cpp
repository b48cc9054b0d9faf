#include "platform/qt/QtTimer.h"

namespace platform {

QtTimer::QtTimer() {
    timer_.setInterval(5000);
    // Never early: a coarse timer may fire up to 5 % before its interval, and the operator uses
    // Timer1's 5000 ms to reset the terminal into its bootloader.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTimer) onTimer();
    });
}

void QtTimer::setInterval(int milliseconds) {
    timer_.setInterval(milliseconds);
}
int QtTimer::interval() const {
    return timer_.interval();
}

void QtTimer::setEnabled(bool enabled) {
    if (enabled == timer_.isActive()) return;
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

bool QtTimer::enabled() const {
    return timer_.isActive();
}

}  // namespace platform
