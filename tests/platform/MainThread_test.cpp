#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using platform::MainThread;
using namespace std::chrono_literals;

class MainThreadTest : public ::testing::Test {
protected:
    void SetUp() override { MainThread::adoptCurrentThread(); }
    void TearDown() override { MainThread::setWakeHook({}); }
};

TEST_F(MainThreadTest, CallsRunOnTheMainThreadAndTheCallerWaitsForThem) {
    const auto mainId = std::this_thread::get_id();
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        MainThread::synchronize([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    while (MainThread::drainFor(1000ms) == 0) {
    }
    worker.join();
    EXPECT_EQ(ranOn, mainId);
    EXPECT_TRUE(returned);
}

TEST_F(MainThreadTest, OnTheMainThreadItselfTheCallRunsAtOnce) {
    bool ran = false;
    MainThread::synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(MainThread::drain(), 0u);
}

TEST_F(MainThreadTest, CallsFromSeveralThreadsRunOneAtATimeInQueueOrderPerThread) {
    std::vector<int> seen;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) MainThread::synchronize([&, t, i] { seen.push_back(t * 1000 + i); });
        });
    while (seen.size() < 200) MainThread::drainFor(100ms);
    for (auto& w : workers) w.join();
    for (int t = 0; t < 4; ++t) {
        int last = -1;
        for (int v : seen)
            if (v / 1000 == t) {
                EXPECT_GT(v % 1000, last);
                last = v % 1000;
            }
    }
}

// A thread that delivers before it ends must not deadlock a main thread waiting for its end.
TEST_F(MainThreadTest, WaitUntilKeepsRunningDeliveriesWhileItWaits) {
    std::atomic<bool> finished{false};
    int delivered = 0;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) MainThread::synchronize([&] { ++delivered; });
        finished = true;
        MainThread::notify();
    });
    MainThread::waitUntil([&] { return finished.load(); });
    worker.join();
    EXPECT_EQ(delivered, 3);
}

TEST_F(MainThreadTest, TheWakeHookIsCalledForEveryQueuedCall) {
    std::atomic<int> wakes{0};
    MainThread::setWakeHook([&] { ++wakes; });
    std::thread worker([] {
        MainThread::synchronize([] {});
        MainThread::synchronize([] {});
    });
    int ran = 0;
    while (ran < 2) ran += static_cast<int>(MainThread::drainFor(1000ms));
    worker.join();
    EXPECT_EQ(wakes.load(), 2);
}
