#include "platform/qt/QtMainThread.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/MainThread.h"

namespace platform {

void installQtMainThreadHook() {
    MainThread::adoptCurrentThread();
    MainThread::setWakeHook([] {
        // Runs on the queuing thread; postEvent (behind a queued invoke) is thread-safe.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [] { MainThread::drain(); }, Qt::QueuedConnection);
    });
}

}  // namespace platform
