// Start-up of the program's windows offscreen (TForm1, TForm2, TAboutBox, shown and painted)
// against a bare QMainWindow shown the same way: time to the first painted frame and the
// resident memory the windows add.
#include <QApplication>
#include <QMainWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "QtBenchSupport.h"
#include "app/Unit1.h"
#include "platform/RecordingMessageService.h"
#include "serial/Unit2.h"
#include "ui/AboutBox.h"

namespace {

using Clock = std::chrono::steady_clock;

void showAndPaint(QWidget& w) {
    w.show();
    QCoreApplication::processEvents();
    w.grab();
}

struct Sample {
    double ms;
    long kib;
};

template <class Make>
Sample measure(Make&& make) {
    const long before = benchsupport::residentKiB();
    const auto start = Clock::now();
    auto windows = make();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    return {ms, benchsupport::residentKiB() - before};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    benchsupport::PrivateFiles files("vigil-startup-bench");
    QApplication app(argc, argv);
    platform::RecordingMessageService quiet;  // the missing help file is not shown

    struct Program {
        std::unique_ptr<TForm1> form1;
        std::unique_ptr<TForm2> form2;
        std::unique_ptr<ui::TAboutBox> about;
    };
    auto program = [] {
        Program p{std::make_unique<TForm1>(), std::make_unique<TForm2>(), nullptr};
        p.about = std::make_unique<ui::TAboutBox>(p.form1.get());
        p.form1->setPortWindow(p.form2.get());
        showAndPaint(*p.form1);
        return p;
    };
    auto bare = [] {
        auto w = std::make_unique<QMainWindow>();
        w->resize(660, 520);
        showAndPaint(*w);
        return w;
    };

    // The first of each pays for fonts, styles and plugins; memory is taken from it, time from
    // the runs after it.
    const Sample bareFirst = measure(bare);
    const Sample programFirst = measure(program);
    std::vector<double> bareMs, programMs;
    for (int i = 0; i < 15; ++i) {
        bareMs.push_back(measure(bare).ms);
        programMs.push_back(measure(program).ms);
    }
    std::printf(
        "ROW\tmain window start-up (offscreen, to first frame)\t%.1f\tms\tbare "
        "QMainWindow\t%.1f\t-\n",
        median(programMs), median(bareMs));
    std::printf(
        "ROW\tmain window first start-up (cold)\t%.1f\tms\tbare QMainWindow, cold\t%.1f\t-\n",
        programFirst.ms, bareFirst.ms);
    std::printf("ROW\tmain window resident memory added\t%ld\tKiB\tbare QMainWindow\t%ld\t-\n",
                programFirst.kib, bareFirst.kib);
    return 0;
}
