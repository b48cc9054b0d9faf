// Signals (auto / manual reset) and the thread base: stop request, WaitFor draining the main
// thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/MainThread.h"
#include "platform/Signal.h"
#include "platform/Thread.h"

using namespace std::chrono_literals;
using platform::Signal;

namespace {

TEST(SignalTest, AutomaticResetWakesOnceManualStaysRaisedAndOtherThreadsWake) {
    Signal automatic(Signal::Reset::Automatic), manual(Signal::Reset::Manual);
    automatic.set();
    automatic.set();
    EXPECT_TRUE(automatic.waitFor(0ms));
    EXPECT_FALSE(automatic.waitFor(10ms)) << "two raises before the wait are one wake";
    manual.set();
    EXPECT_TRUE(manual.waitFor(0ms));
    EXPECT_TRUE(manual.isSet());
    manual.reset();
    EXPECT_FALSE(manual.waitFor(10ms));
    std::thread t([&] { automatic.wait(); });
    automatic.set();
    t.join();
}

class Worker : public platform::Thread {
  public:
    explicit Worker(Signal& go) : go_(go) { Start(); }
    ~Worker() override { WaitFor(); }
    std::atomic<int> delivered{0};

  protected:
    void Execute() override {
        while (!Terminated()) {
            go_.wait();
            Synchronize([this] { ++delivered; });
        }
    }

  private:
    Signal& go_;
};

TEST(ThreadTest, WaitForOnTheMainThreadRunsAPendingDelivery) {
    platform::MainThread::adoptCurrentThread();
    std::atomic<int> queued{0};
    platform::MainThread::setWakeHook([&] { ++queued; });
    Signal go(Signal::Reset::Automatic);
    Worker w(go);
    go.set();
    // The worker now blocks in Synchronize until the main thread runs the call.
    while (queued == 0) std::this_thread::yield();
    platform::MainThread::setWakeHook(nullptr);
    w.Terminate();
    w.WaitFor();  // must not deadlock
    EXPECT_TRUE(w.Finished());
    EXPECT_EQ(w.delivered, 1);
}

}  // namespace
