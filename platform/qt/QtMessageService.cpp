#include "platform/qt/QtMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <cstdio>

#include "platform/MainThread.h"

namespace platform {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

MessageResult showBox(const std::string& text, const std::string& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const std::string& title = caption.empty() ? applicationTitle() : caption;
    const auto qtButtons = buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
                                                               : QMessageBox::StandardButtons(QMessageBox::Ok);
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), qtButtons,
                    parent);
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Cancel ? MessageResult::Cancel : MessageResult::Ok;
}

}  // namespace

QtMessageService::QtMessageService() { setMessageService(this); }

QtMessageService::~QtMessageService() { setMessageService(nullptr); }

MessageResult QtMessageService::show(const std::string& text, const std::string& caption, MessageIcon icon,
                                     MessageButtons buttons) {
    // Without an application (start-up failed, or already gone) there is no box to show.
    if (!qApp) {
        std::fprintf(stderr, "[%s] %s\n", caption.empty() ? applicationTitle().c_str() : caption.c_str(), text.c_str());
        return MessageResult::Ok;
    }
    if (QThread::currentThread() == qApp->thread()) return showBox(text, caption, icon, buttons);
    MessageResult result = MessageResult::Ok;
    MainThread::synchronize([&] { result = showBox(text, caption, icon, buttons); });
    return result;
}

}  // namespace platform
