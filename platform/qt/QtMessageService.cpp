#include "platform/qt/QtMessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <cstdio>

#include "platform/MainThread.h"

namespace platform {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The question's buttons carry the program's own words; Escape and the default are "Отмена".
void addQuestionButtons(QMessageBox& box, MessageButtons buttons) {
    if (buttons == MessageButtons::WriteDiscardCancel)
        box.addButton(QCoreApplication::translate("QtMessageService", "Записать"),
                      QMessageBox::AcceptRole)
            ->setObjectName(QStringLiteral("Write"));
    box.addButton(QCoreApplication::translate("QtMessageService", "Не записывать"),
                  QMessageBox::DestructiveRole)
        ->setObjectName(QStringLiteral("Discard"));
    QPushButton* cancel = box.addButton(QCoreApplication::translate("QtMessageService", "Отмена"),
                                        QMessageBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cancel"));
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
}

MessageResult showBox(const std::string& text, const std::string& caption, MessageIcon icon,
                      MessageButtons buttons) {
    const std::string& title = caption.empty() ? applicationTitle() : caption;
    const auto qtButtons =
        buttons == MessageButtons::OkCancel ? QMessageBox::Ok | QMessageBox::Cancel
        : buttons == MessageButtons::Ok     ? QMessageBox::StandardButtons(QMessageBox::Ok)
                                            : QMessageBox::StandardButtons(QMessageBox::NoButton);
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    qtButtons, parent);
    if (qtButtons == QMessageBox::NoButton) {
        addQuestionButtons(box, buttons);
        box.exec();
        const QString pressed = box.clickedButton() ? box.clickedButton()->objectName() : QString();
        return pressed == QLatin1String("Write")     ? MessageResult::Write
               : pressed == QLatin1String("Discard") ? MessageResult::Discard
                                                     : MessageResult::Cancel;
    }
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Cancel ? MessageResult::Cancel : MessageResult::Ok;
}

}  // namespace

QtMessageService::QtMessageService() {
    setMessageService(this);
}

QtMessageService::~QtMessageService() {
    setMessageService(nullptr);
}

MessageResult QtMessageService::show(const std::string& text, const std::string& caption,
                                     MessageIcon icon, MessageButtons buttons) {
    // Without an application (start-up failed, or already gone) there is no box to show.
    if (!qApp) {
        std::fprintf(stderr, "[%s] %s\n",
                     caption.empty() ? applicationTitle().c_str() : caption.c_str(), text.c_str());
        return MessageResult::Ok;
    }
    if (QThread::currentThread() == qApp->thread()) return showBox(text, caption, icon, buttons);
    MessageResult result = MessageResult::Ok;
    MainThread::synchronize([&] { result = showBox(text, caption, icon, buttons); });
    return result;
}

}  // namespace platform
