#pragma once
// The application object: an exception that escapes an event handler ends that handler and is
// shown with the standard exception box (a plain box with the message); the program goes on.
#include <QApplication>

class TApplication : public QApplication {
  public:
    TApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;

    // The standard exception box; a thrown object that is not an exception has an empty message.
    static void ShowException(const char* message);
};
