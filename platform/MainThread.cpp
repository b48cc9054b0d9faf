#include "platform/MainThread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <semaphore>
#include <thread>

#include "platform/Delivery.h"

namespace platform {
namespace {

// Each caller sleeps on its own semaphore, so a finished call wakes exactly its caller; the main
// thread alone waits on the queue's condition. Nobody is woken only to find the mutex still held.
struct PendingCall {
    const std::function<void()>* call;
    std::binary_semaphore finished{0};
};

struct Queue {
    std::mutex mutex;
    std::condition_variable changed;  // a call was queued, or notify(): for the main thread
    std::deque<PendingCall*> pending;
    // Held while the hook runs, so that once setWakeHook has returned the old hook runs no more.
    std::mutex hookMutex;
    std::function<void()> wakeHook;
    std::atomic<std::thread::id> mainId{std::this_thread::get_id()};
    unsigned long notifications = 0;
};

// Never destroyed: a thread that is still running at exit (a signal watcher, a port thread ending)
// may notify the queue while static destructors run.
Queue& queue() {
    static Queue* q = new Queue;
    return *q;
}

// Runs the oldest queued call, if any, outside the lock. Returns whether one ran.
bool runOne(std::unique_lock<std::mutex>& lock) {
    Queue& q = queue();
    if (q.pending.empty()) return false;
    PendingCall* p = q.pending.front();
    q.pending.pop_front();
    lock.unlock();
    {
        // A worker waits for this call: boxes and closes asked for in it come after it.
        DeliveryScope delivery;
        (*p->call)();
    }
    // The caller may return and free `p` as soon as this is released.
    p->finished.release();
    lock.lock();
    return true;
}

}  // namespace

void MainThread::adoptCurrentThread() {
    queue().mainId = std::this_thread::get_id();
}

bool MainThread::isCurrent() {
    return queue().mainId.load() == std::this_thread::get_id();
}

void MainThread::synchronize(const std::function<void()>& call) {
    if (isCurrent()) {
        call();
        return;
    }
    Queue& q = queue();
    PendingCall p{&call};
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        q.pending.push_back(&p);
    }
    q.changed.notify_one();  // after the unlock: the main thread can take the mutex at once
    {
        std::lock_guard<std::mutex> lock(q.hookMutex);
        if (q.wakeHook) q.wakeHook();
    }
    p.finished.acquire();
}

std::size_t MainThread::drain() {
    std::unique_lock<std::mutex> lock(queue().mutex);
    std::size_t ran = 0;
    while (runOne(lock)) ++ran;
    return ran;
}

std::size_t MainThread::drainFor(std::chrono::milliseconds timeout) {
    Queue& q = queue();
    std::unique_lock<std::mutex> lock(q.mutex);
    q.changed.wait_for(lock, timeout, [&] { return !q.pending.empty(); });
    std::size_t ran = 0;
    while (runOne(lock)) ++ran;
    return ran;
}

void MainThread::waitUntil(const std::function<bool()>& done) {
    Queue& q = queue();
    std::unique_lock<std::mutex> lock(q.mutex);
    for (;;) {
        while (runOne(lock)) {
        }
        const unsigned long seen = q.notifications;
        lock.unlock();
        if (done()) return;
        lock.lock();
        q.changed.wait(lock, [&] { return !q.pending.empty() || q.notifications != seen; });
    }
}

void MainThread::notify() {
    {
        std::lock_guard<std::mutex> lock(queue().mutex);
        ++queue().notifications;
    }
    queue().changed.notify_one();
}

void MainThread::setWakeHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(queue().hookMutex);
    queue().wakeHook = std::move(hook);
}

}  // namespace platform
