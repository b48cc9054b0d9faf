#include "app/TApplication.h"

#include <exception>

#include "platform/MessageService.h"

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("");
    }
    return false;
}

void TApplication::ShowException(const char* message) {
    platform::messages().show(message, "", platform::MessageIcon::Error,
                              platform::MessageButtons::Ok);
}
