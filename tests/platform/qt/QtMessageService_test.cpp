#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <atomic>
#include <thread>

#include "platform/MainThread.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtMessageService.h"

using namespace platform;

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "Config_Vigil";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

struct SeenBox {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool onGuiThread = false;
};

// Waits for the next modal message box, notes what it shows and presses `press` on it.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton press) {
    auto* poll = new QTimer(&app());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                box->thread() == app().thread()};
        box->button(press)->click();
        poll->deleteLater();
    });
    poll->start(5);
}

class QtMessageServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        app();
        installQtMainThreadHook();
    }
    void TearDown() override { MainThread::setWakeHook({}); }
    QtMessageService service;
};

}  // namespace

TEST_F(QtMessageServiceTest, PlainBoxCarriesTheApplicationTitle) {
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    EXPECT_EQ(messages().show("Не отвечает COM3", "", MessageIcon::None, MessageButtons::Ok), MessageResult::Ok);
    EXPECT_EQ(seen.title, QString("Config_Vigil"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Не отвечает COM3"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(QtMessageServiceTest, CaptionIconAndButtonsAreThoseAskedFor) {
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    messages().show("Разрыв соединения", "COM port error", MessageIcon::Error, MessageButtons::Ok);
    EXPECT_EQ(seen.title, QString("COM port error"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);

    answerNextBox(seen, QMessageBox::Cancel);
    EXPECT_EQ(messages().show("?", "COM port warning", MessageIcon::Warning, MessageButtons::OkCancel),
              MessageResult::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    answerNextBox(seen, QMessageBox::Ok);
    EXPECT_EQ(messages().show("i", "Info", MessageIcon::Information, MessageButtons::OkCancel), MessageResult::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

TEST_F(QtMessageServiceTest, AWorkerThreadsBoxIsShownByTheGuiThread) {
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Cancel);
    std::atomic<bool> done{false};
    MessageResult result = MessageResult::Ok;
    std::thread worker([&] {
        result = messages().show("from a worker", "", MessageIcon::Error, MessageButtons::OkCancel);
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(seen.onGuiThread);
    EXPECT_EQ(seen.text, QString("from a worker"));
    EXPECT_EQ(result, MessageResult::Cancel);
}

TEST_F(QtMessageServiceTest, TheEventLoopRunsQueuedMainThreadCalls) {
    std::thread::id ranOn;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        MainThread::synchronize([&] { ranOn = std::this_thread::get_id(); });
        done = true;
    });
    QElapsedTimer clock;
    clock.start();
    // Only the Qt event loop runs here: nothing drains the queue by hand.
    while (!done && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}
