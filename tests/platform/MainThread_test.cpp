#include "platform/MainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Delivery.h"

using platform::MainThread;
using namespace std::chrono_literals;

class MainThreadTest : public ::testing::Test {
  protected:
    void SetUp() override { MainThread::adoptCurrentThread(); }
    void TearDown() override { MainThread::setWakeHook({}); }
};

TEST_F(MainThreadTest, CallsFromSeveralThreadsRunOnTheMainThreadInOrderPerThreadWakingItEachTime) {
    const auto mainId = std::this_thread::get_id();
    std::atomic<int> wakes{0};
    MainThread::setWakeHook([&] { ++wakes; });
    std::vector<int> seen;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i)
                MainThread::synchronize([&, t, i] {
                    EXPECT_EQ(std::this_thread::get_id(), mainId);
                    seen.push_back(t * 1000 + i);
                });
        });
    while (seen.size() < 200) MainThread::drainFor(100ms);
    for (auto& w : workers) w.join();
    EXPECT_EQ(wakes.load(), 200);
    for (int t = 0; t < 4; ++t) {
        int last = -1;
        for (int v : seen)
            if (v / 1000 == t) {
                EXPECT_GT(v % 1000, last);
                last = v % 1000;
            }
    }
    // On the main thread itself the call runs at once.
    bool ran = false;
    MainThread::synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(MainThread::drain(), 0u);
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

// A worker's call is a delivery: work kept back in it runs once the call has returned, in order
// and after the worker's call body; outside a delivery it runs at once. With a poster installed,
// the kept work goes to it as one call.
TEST_F(MainThreadTest, WorkKeptBackInsideADeliveryRunsAfterItInOrder) {
    std::vector<std::string> log;
    platform::afterDelivery([&] { log.push_back("outside"); });
    EXPECT_EQ(log, std::vector<std::string>{"outside"});

    std::vector<std::function<void()>> posted;
    for (const bool withPoster : {false, true}) {
        log.clear();
        if (withPoster)
            platform::setAfterDeliveryPoster(
                [&](std::function<void()> call) { posted.push_back(call); });
        std::thread worker([&] {
            MainThread::synchronize([&] {
                EXPECT_TRUE(platform::DeliveryScope::active());
                platform::afterDelivery([&] { log.push_back("first"); });
                {
                    platform::DeliveryScope nested;
                    platform::afterDelivery([&] { log.push_back("second"); });
                }
                log.push_back("body");
            });
        });
        while (log.empty() || (!withPoster && log.size() < 3)) MainThread::drainFor(5ms);
        worker.join();
        EXPECT_FALSE(platform::DeliveryScope::active());
        if (withPoster) {
            EXPECT_EQ(log, std::vector<std::string>{"body"});
            ASSERT_EQ(posted.size(), 1u);
            posted[0]();
        }
        EXPECT_EQ(log, (std::vector<std::string>{"body", "first", "second"}));
    }
    platform::setAfterDeliveryPoster({});
}

// A hook replaced while workers queue calls never runs after its replacement: it may capture what
// the caller destroys next.
TEST_F(MainThreadTest, AReplacedWakeHookRunsNoMoreOnceTheReplacementHasReturned) {
    std::atomic<bool> stop{false}, done{false};
    std::thread worker([&] {
        while (!stop) MainThread::synchronize([] {});
        done = true;
    });
    for (int round = 0; round < 50; ++round) {
        auto wakes = std::make_unique<std::atomic<int>>(0);
        MainThread::setWakeHook([w = wakes.get()] {
            std::this_thread::yield();  // widens the window between taking the hook and running it
            ++*w;
        });
        while (wakes->load() == 0) MainThread::drainFor(10ms);
        MainThread::setWakeHook(nullptr);
        const int seen = wakes->load();
        MainThread::drainFor(1ms);
        EXPECT_EQ(wakes->load(), seen) << "round " << round;
    }
    stop = true;
    while (!done) MainThread::drainFor(1ms);
    worker.join();
}
