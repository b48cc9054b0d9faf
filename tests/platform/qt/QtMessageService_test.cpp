#include "platform/qt/QtMessageService.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/MainThread.h"
#include "platform/qt/QtMainThread.h"

using namespace platform;

namespace {

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onGuiThread = false;
};

class QtMessageServiceTest : public ::testing::Test {
  protected:
    void SetUp() override { installQtMainThreadHook(); }
    // Notes the next modal box and presses `press` on it.
    void answerNextBox(QMessageBox::StandardButton press) {
        auto* poll = new QTimer(&app);
        QObject::connect(poll, &QTimer::timeout, poll, [this, poll, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    QThread::currentThread() == app.thread()};
            box->button(press)->click();
            poll->deleteLater();
        });
        poll->start(5);
    }
    int argc = 1;
    char name[13] = "Config_Vigil";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    QtMessageService service;
    SeenBox seen;
};

}  // namespace

TEST_F(QtMessageServiceTest, BoxesShowTheirCaptionIconAndButtons) {
    answerNextBox(QMessageBox::Ok);
    EXPECT_EQ(messages().show("Не отвечает COM3", "", MessageIcon::None, MessageButtons::Ok),
              MessageResult::Ok);
    EXPECT_EQ(seen.title, QString("Config_Vigil"));  // a plain box carries the application's title
    EXPECT_EQ(seen.text, QString::fromUtf8("Не отвечает COM3"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    answerNextBox(QMessageBox::Cancel);
    EXPECT_EQ(
        messages().show("?", "COM port warning", MessageIcon::Warning, MessageButtons::OkCancel),
        MessageResult::Cancel);
    EXPECT_EQ(seen.title, QString("COM port warning"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

// Only the Qt event loop runs here: the hook makes it run the worker's hand-over.
TEST_F(QtMessageServiceTest, AWorkerThreadsBoxIsShownByTheGuiThread) {
    answerNextBox(QMessageBox::Cancel);
    std::atomic<bool> done{false};
    MessageResult result = MessageResult::Ok;
    std::thread worker([&] {
        result = messages().show("from a worker", "", MessageIcon::Error, MessageButtons::OkCancel);
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(done) << "the event loop did not run the hand-over";
    MainThread::waitUntil([&] { return done.load(); });  // never leave the worker hanging
    worker.join();
    EXPECT_TRUE(seen.onGuiThread);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(result, MessageResult::Cancel);
}
