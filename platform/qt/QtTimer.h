#pragma once
// platform::Timer over a QTimer on the main thread (Timer1 of the main window).
#include <QTimer>

#include "platform/Timer.h"

namespace platform {

class QtTimer : public Timer {
  public:
    QtTimer();
    void setInterval(int milliseconds) override;
    int interval() const override;
    void setEnabled(bool enabled) override;
    bool enabled() const override;

  private:
    QTimer timer_;
};

}  // namespace platform
