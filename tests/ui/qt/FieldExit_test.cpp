#include "ui/FieldExit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

#include "ui/AddressCheck.h"
#include "platform/RecordingMessageService.h"
#include "ui/qt/QtTestApp.h"

namespace {

void focusOut(QLineEdit& edit, Qt::FocusReason reason) {
    QFocusEvent event(QEvent::FocusOut, reason);
    QApplication::sendEvent(&edit, &event);
}

TEST(FieldExit, RunsWhenTheOperatorMovesOnOnly) {
    qtTestApp();
    platform::RecordingMessageService messages;
    QLineEdit edit;
    ui::FieldExit::watch(&edit, [&] { ui::warnEach(ui::addressCompletenessWarnings(edit.text().toStdString(), 2)); });
    edit.setText("10.0.0");

    focusOut(edit, Qt::ActiveWindowFocusReason);  // a message box opened over the window
    focusOut(edit, Qt::PopupFocusReason);
    EXPECT_TRUE(messages.texts().empty());

    for (Qt::FocusReason reason : {Qt::TabFocusReason, Qt::MouseFocusReason, Qt::BacktabFocusReason})
        focusOut(edit, reason);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(3, "Неверный адрес IP2"));
    // The check only warns: the text stays.
    EXPECT_EQ(edit.text(), "10.0.0");
}

}  // namespace
