#pragma once
// The windows with the program's real message boxes and real timers, on the simulated terminal:
// an operator stand-in keeps each box open for a chosen time and then presses its button, and a
// watchdog ends the run if the main thread stops running events (a hang instead of a failure).
#include <QMessageBox>
#include <QPointer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "WindowFixture.h"
#include "app/UnitRecords.h"
#include "platform/Delivery.h"
#include "platform/qt/QtMessageService.h"
#include "platform/qt/QtTimer.h"
#include "tools/BootloaderMode.h"

namespace realboxes {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Looks every 20 ms (its timer runs inside the boxes' own loops too): a new box is read, left
// open for `holdFor`, then answered with the next of `press` (a button's objectName: "Write",
// "Discard", "Cancel"), or with OK when none is left.
class BoxOperator {
  public:
    explicit BoxOperator(std::chrono::milliseconds holdFor) : hold_(holdFor) {
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, [this] { look(); });
        poll_.start();
    }
    void holdFor(std::chrono::milliseconds hold) { hold_ = hold; }
    void press(std::vector<QString> buttons) { press_ = std::move(buttons); }
    // A box with this text is answered OK at once and left out of texts().
    void passOver(std::string text) { passOver_ = std::move(text); }
    const std::vector<std::string>& texts() const { return texts_; }
    std::size_t mostOpenAtOnce() const { return mostOpen_; }
    Clock::time_point lastLook() const { return lastLook_.load(); }

  private:
    struct Open {
        QPointer<QMessageBox> box;
        Clock::time_point since;
    };
    void look() {
        lastLook_ = Clock::now();
        std::erase_if(open_, [](const Open& o) { return o.box.isNull() || !o.box->isVisible(); });
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const bool known = std::any_of(open_.begin(), open_.end(),
                                           [&](const Open& o) { return o.box == box; });
            if (!known && box->text().toStdString() == passOver_) {
                if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
                return;
            }
            if (!known) {
                open_.push_back({box, Clock::now()});
                texts_.push_back(box->text().toStdString());
                // VIGIL_SHOTS names a folder for a picture of each box, to read its texts.
                if (const char* shots = std::getenv("VIGIL_SHOTS"))
                    box->grab().save(QString::fromLocal8Bit(shots) +
                                     QStringLiteral("/box-%1.png").arg(texts_.size()));
                mostOpen_ = std::max(mostOpen_, open_.size());
            }
        }
        for (const Open& o : open_) {
            if (Clock::now() - o.since < hold_) continue;
            if (!press_.empty()) {
                if (auto* chosen = o.box->findChild<QAbstractButton*>(press_.front())) {
                    press_.erase(press_.begin());
                    chosen->click();
                    continue;
                }
            }
            if (QAbstractButton* ok = o.box->button(QMessageBox::Ok)) ok->click();
        }
    }

    std::chrono::milliseconds hold_;
    std::vector<QString> press_;
    std::string passOver_;
    QTimer poll_;
    std::vector<Open> open_;
    std::vector<std::string> texts_;
    std::size_t mostOpen_ = 0;
    std::atomic<Clock::time_point> lastLook_{Clock::now()};
};

// Aborts the test program when the main thread has run no event for `limit`.
class Watchdog {
  public:
    Watchdog(const BoxOperator& op, std::chrono::seconds limit)
        : thread_([this, &op, limit] {
              while (!stop_.load()) {
                  std::this_thread::sleep_for(100ms);
                  if (Clock::now() - op.lastLook() > limit) {
                      std::fprintf(stderr, "the main thread has run no event for %lld s: hung\n",
                                   static_cast<long long>(limit.count()));
                      std::abort();
                  }
              }
          }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The windows on the simulated bootloader, with the Qt boxes and timers the program uses.
class RealBoxFixture : public apptest::SimFixture<sim::BootloaderMode> {
  protected:
    RealBoxFixture() {
        form1->setTimers(std::make_unique<platform::QtTimer>(),
                         std::make_unique<platform::QtTimer>());
        timer1 = recordTimer = nullptr;                            // the hand-driven ones are gone
        boxOperator.passOver(app::kUploadSnapshotFailedQuestion);  // see upload()
        // Every close of the port, and whether it ran inside a delivery.
        auto onClose = form2->CommPort1->OnClose;
        form2->CommPort1->OnClose = [this, onClose](TCommPort* port) {
            closesInsideDelivery += platform::DeliveryScope::active() ? 1 : 0;
            onClose(port);
        };
    }

    // The update file of `payloadBytes`, BUpgrade pressed, and the upload to its end (BUpgrade
    // usable again and the link closed); false when it did not end within `bound`.
    bool upload(std::chrono::seconds bound = 60s) {
        form1->BUpgrade->click();
        // The terminal is read for the records first; the simulated bootloader answers no
        // settings, so the read runs out and the operator goes on without a snapshot.
        if (compareTimer->enabled()) compareTimer->fire();
        if (!apptest::pumpUntil([&] { return form1->uploadLocked(); })) return false;
        if (form1->BUpgrade->isEnabled()) return false;
        return apptest::pumpUntil(
            [&] {
                return form1->BUpgrade->isEnabled() && !form2->CommPort1->Open() &&
                       !form1->uploadLocked();
            },
            bound);
    }
    std::vector<std::vector<std::uint8_t>> imageRecords() const {
        std::vector<std::vector<std::uint8_t>> records;
        for (std::size_t pos = 0; pos < image.size();) {
            const std::size_t n = image[pos] * 256u + image[pos + 1] + 2;
            records.emplace_back(image.begin() + static_cast<long>(pos),
                                 image.begin() + static_cast<long>(pos + n));
            pos += n;
        }
        return records;
    }

    platform::QtMessageService boxes;  // installed over the fixture's recording service
    BoxOperator boxOperator{3s};
    Watchdog watchdog{boxOperator, 20s};
    int closesInsideDelivery = 0;
};

}  // namespace realboxes
