#include "serial/Unit2PortWatch.h"

#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include "platform/DeviceWatch.h"

TPortListWatch::TPortListWatch(QWidget* window, std::function<void()> refresh)
    : QObject(window), refresh_(std::move(refresh)) {
    settle_.setSingleShot(true);
    settle_.setInterval(SettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { refresh_(); });
    window->installEventFilter(this);
    if (window->isVisible()) start();
}

TPortListWatch::~TPortListWatch() {
    stop();
}

bool TPortListWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        start();
        refresh_();  // whatever came or went while the window was hidden
    } else if (event->type() == QEvent::Hide) {
        stop();
    }
    return QObject::eventFilter(watched, event);
}

void TPortListWatch::start() {
    if (watch_) return;
    watch_ = std::make_unique<platform::DeviceWatch>();
    if (watch_->fd() < 0) return;
    notifier_ =
        new QSocketNotifier(static_cast<qintptr>(watch_->fd()), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        if (watch_ && watch_->takeChanges()) settle_.start();
    });
}

void TPortListWatch::stop() {
    settle_.stop();
    delete notifier_;
    notifier_ = nullptr;
    watch_.reset();
}
