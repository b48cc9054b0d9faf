#include "ui/FieldExit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include "platform/RecordingMessageService.h"
#include "ui/AddressCheck.h"
#include "ui/qt/QtTestApp.h"

namespace {

TEST(FieldExit, RunsWhenTheOperatorMovesOnOnly) {
    qtTestApp();
    platform::RecordingMessageService messages;
    QLineEdit edit;
    ui::FieldExit::watch(&edit, [&] {
        ui::warnEach(ui::addressCompletenessWarnings(edit.text().toStdString(), 2));
    });
    edit.setText("10.0.0");

    // Not when a message box or a popup opens over the window.
    for (Qt::FocusReason reason :
         {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason, Qt::TabFocusReason,
          Qt::MouseFocusReason, Qt::BacktabFocusReason}) {
        QFocusEvent event(QEvent::FocusOut, reason);
        QApplication::sendEvent(&edit, &event);
    }
    EXPECT_EQ(messages.texts(), std::vector<std::string>(3, "Неверный адрес IP2"));
    // The check only warns: the text stays.
    EXPECT_EQ(edit.text(), "10.0.0");
}

}  // namespace
