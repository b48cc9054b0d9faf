#pragma once
// Keeps the port window's list current while the window is shown: when a serial device comes or
// goes (platform::DeviceWatch, inotify; nothing polls), the list is refilled once the burst of
// changes is over, so udev has made the adapter's stable name by then.
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class QSocketNotifier;
namespace platform {
class DeviceWatch;
}

class TPortListWatch : public QObject {
  public:
    static constexpr int SettleMs = 300;

    // Watches while `window` is visible; `refresh` refills its list.
    TPortListWatch(QWidget* window, std::function<void()> refresh);
    ~TPortListWatch() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void start();
    void stop();

    std::function<void()> refresh_;
    std::unique_ptr<platform::DeviceWatch> watch_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer settle_;
};
