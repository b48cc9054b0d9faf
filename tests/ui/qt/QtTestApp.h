#pragma once
// The one QApplication of a Qt test program (gtest's main makes none), made before the first
// test. It is never destroyed: Qt's own objects torn down at exit still use it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>
#include <functional>

class QtTestEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "ui_qt_test";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
};

inline ::testing::Environment* const kQtTestEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtTestEnvironment);

inline QApplication& qtTestApp() {
    return *static_cast<QApplication*>(QCoreApplication::instance());
}

// Keys and waits, without the QtTest module.
inline void pressKey(QWidget* target, Qt::Key key,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers), release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// Runs the event loop until the condition holds or the (generous) limit has passed.
inline bool processEventsUntil(const std::function<bool()>& condition, int limitMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > limitMs) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}
