#pragma once
// The one QApplication of a Qt test program, created on first use (gtest's main makes none).
#include <QApplication>

inline QApplication& qtTestApp() {
    static int argc = 1;
    static char name[] = "ui_qt_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
