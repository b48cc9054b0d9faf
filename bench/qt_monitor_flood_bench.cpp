// The "Монитор" page under a flood: a simulated terminal sends monitor output as fast as the pty
// takes it, while input events are posted to the main window every 10 ms. Measured: how late the
// window handles them (worst and 99th percentile) and whether memory stays flat; the baseline is
// the same input on the idle window.
//   bench_qt_monitor_flood_bench [seconds]   (default 60)
#include <QApplication>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "QtBenchSupport.h"
#include "app/Unit1.h"
#include "platform/ComPortMap.h"
#include "platform/RecordingMessageService.h"
#include "platform/qt/QtMainThread.h"
#include "serial/Unit2.h"
#include "tools/Simulator.h"

namespace {

using Clock = std::chrono::steady_clock;

// After "Monitor=On:" the terminal floods: text lines and modem notices, 2 KiB each millisecond
// while the line has taken what went before, so the line is always full and the memory figure is
// the program's, not a queue of bytes the simulated terminal could not send.
class FloodMode : public sim::Mode {
  public:
    void received(const std::uint8_t* data, std::size_t length, sim::Line&) override {
        seen_.append(reinterpret_cast<const char*>(data), length);
        if (!flooding_ && seen_.find("Monitor=On:") != std::string::npos) {
            flooding_ = true;
            next_ = sim::Clock::now();
        }
        if (seen_.size() > 4096) seen_.erase(0, seen_.size() - 64);
    }
    std::optional<sim::Clock::time_point> wakeAt() const override {
        if (!flooding_) return std::nullopt;
        return next_;
    }
    void tick(sim::Line& line) override {
        next_ = sim::Clock::now() + std::chrono::milliseconds(1);
        if (line.queuedBytes() >= kMostQueued) return;
        std::string chunk;
        while (chunk.size() < 2048) {
            chunk += "GPS: $GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394*6A\r\n";
            chunk += std::string("+IPD,16:\xC8\x00", 10) + "payload-bytes..\r\n";
        }
        line.send(chunk);
    }

  private:
    static constexpr std::size_t kMostQueued = 16 * 1024;
    std::string seen_;
    bool flooding_ = false;
    sim::Clock::time_point next_{};
};

// Posts an input-like event every 10 ms and records how long each waited to be handled.
class LatencyProbe : public QObject {
  public:
    explicit LatencyProbe(QWidget* target) : target_(target) {
        target_->installEventFilter(this);
        connect(&tick_, &QTimer::timeout, this, [this] {
            sent_.push_back(Clock::now());
            QCoreApplication::postEvent(target_, new QEvent(kProbe));
        });
        tick_.start(10);
    }
    std::vector<double> delaysMs() const { return delays_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == target_ && event->type() == kProbe && handled_ < sent_.size()) {
            delays_.push_back(
                std::chrono::duration<double, std::milli>(Clock::now() - sent_[handled_++])
                    .count());
            return true;
        }
        return false;
    }

  private:
    static constexpr QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::User + 17);
    QWidget* target_;
    QTimer tick_;
    std::vector<Clock::time_point> sent_;
    std::size_t handled_ = 0;
    std::vector<double> delays_;
};

void runFor(std::chrono::milliseconds period) {
    QTimer::singleShot(period, [] { QCoreApplication::exit(); });
    QApplication::exec();
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 60;
    benchsupport::PrivateFiles files("vigil-flood-bench");
    QApplication app(argc, argv);
    platform::installQtMainThreadHook();
    platform::RecordingMessageService quiet;

    FloodMode mode;
    sim::Simulator terminal(mode);
    const std::string pty = terminal.createPty();
    platform::ComPortMap(files.comPortMap()).addMapping(pty, 3);
    terminal.start();

    auto form1 = std::make_unique<TForm1>();
    auto form2 = std::make_unique<TForm2>();
    form1->setPortWindow(form2.get());
    form1->show();
    form2->CommPort1->SetComNumber(3);
    form1->ToolButton1Click();
    runFor(std::chrono::milliseconds(300));

    std::vector<double> idle;
    {
        LatencyProbe probe(form1.get());
        runFor(std::chrono::seconds(2));
        idle = probe.delaysMs();
    }

    form1->PageControl1->setCurrentIndex(TForm1::kMonitorTab);  // asks for the monitor output
    LatencyProbe probe(form1.get());
    runFor(std::chrono::seconds(2));
    const long settled = benchsupport::residentKiB();
    runFor(std::chrono::seconds(seconds - 2));
    const long end = benchsupport::residentKiB();
    const auto flood = probe.delaysMs();
    std::fprintf(stderr, "link %s, terminal got %zu bytes, memo holds %d lines, %zu probes\n",
                 form2->CommPort1->IsEnabled() ? "open" : "closed", terminal.receivedBytes().size(),
                 form1->MemoIn->blockCount(), flood.size());

    std::printf(
        "ROW\tinput latency under monitor flood, worst (%d s)\t%.1f\tms\tidle window, "
        "worst\t%.1f\t< 50 ms\n",
        seconds, percentile(flood, 1.0), percentile(idle, 1.0));
    std::printf(
        "ROW\tinput latency under monitor flood, p99\t%.1f\tms\tidle window, p99\t%.1f\t< 50 ms\n",
        percentile(flood, 0.99), percentile(idle, 0.99));
    std::printf(
        "ROW\tresident memory growth during flood\t%ld\tKiB\tresident after 2 s of "
        "flood\t%ld\tflat\n",
        end - settled, settled);

    form1->ToolButton3Click();
    runFor(std::chrono::milliseconds(200));
    form1.reset();
    form2.reset();
    terminal.stop();
    return 0;
}
