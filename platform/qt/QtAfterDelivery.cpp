#include "platform/qt/QtAfterDelivery.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/Delivery.h"

namespace platform {

void installQtAfterDeliveryPoster() {
    setAfterDeliveryPoster([](std::function<void()> call) {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
        else
            call();
    });
}

}  // namespace platform
