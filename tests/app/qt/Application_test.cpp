// An exception that escapes an event handler ends that handler only: it is shown in the standard
// exception box and the program goes on.
#include <QCoreApplication>
#include <QEvent>
#include <stdexcept>

#include "WindowFixture.h"

namespace {

class Throwing : public QObject {
public:
    bool throwException = true;

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::User) return QObject::event(e);
        if (throwException) throw std::runtime_error("'abc' is not a valid integer value");
        throw 42;
    }
};

TEST(Application, EscapingThrowsAreShownAndTheProgramGoesOn) {
    apptest::application();
    platform::RecordingMessageService messages;
    Throwing target;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    target.throwException = false;
    EXPECT_FALSE(QCoreApplication::sendEvent(&target, &event));
    const auto shown = messages.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "'abc' is not a valid integer value");
    EXPECT_EQ(shown[0].caption, "");
    EXPECT_EQ(shown[1].text, "");
}

}  // namespace
