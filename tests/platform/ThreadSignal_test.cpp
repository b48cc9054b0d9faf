// Signals (auto / manual reset) and the thread base: stop request, WaitFor draining the main
// thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/MainThread.h"
#include "platform/Signal.h"
#include "platform/Thread.h"

using namespace std::chrono_literals;
using platform::Signal;

namespace {

TEST(SignalTest, AutomaticResetWakesOnceForSeveralRaises) {
    Signal s(Signal::Reset::Automatic);
    EXPECT_FALSE(s.waitFor(0ms));
    s.set();
    s.set();
    EXPECT_TRUE(s.waitFor(0ms));
    EXPECT_FALSE(s.waitFor(10ms)) << "two raises before the wait are one wake";
    s.set();
    s.reset();
    EXPECT_FALSE(s.isSet());
}

TEST(SignalTest, ManualResetStaysRaisedUntilReset) {
    Signal s(Signal::Reset::Manual);
    s.set();
    EXPECT_TRUE(s.waitFor(0ms));
    EXPECT_TRUE(s.waitFor(0ms));
    EXPECT_TRUE(s.isSet());
    s.reset();
    EXPECT_FALSE(s.waitFor(10ms));
}

TEST(SignalTest, AWaitingThreadWakesFromAnotherThread) {
    Signal s(Signal::Reset::Automatic);
    std::atomic<bool> woke{false};
    std::thread t([&] {
        s.wait();
        woke = true;
    });
    s.set();
    t.join();
    EXPECT_TRUE(woke);
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

TEST(ThreadTest, TheBodySeesItsStopRequest) {
    platform::MainThread::adoptCurrentThread();
    Signal go(Signal::Reset::Automatic);
    auto w = std::make_unique<Worker>(go);
    w->Terminate();
    go.set();
    w->WaitFor();
    EXPECT_TRUE(w->Finished());
    w.reset();
}

}  // namespace
