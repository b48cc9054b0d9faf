#include "platform/MainThread.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {
namespace {

struct PendingCall {
    const std::function<void()>* call;
    bool done = false;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable changed;  // a call was queued, a call finished, or notify()
    std::deque<PendingCall*> pending;
    std::function<void()> wakeHook;
    std::thread::id mainId = std::this_thread::get_id();
    unsigned long notifications = 0;
};

Queue& queue() {
    static Queue q;
    return q;
}

// Runs the oldest queued call, if any, outside the lock. Returns whether one ran.
bool runOne(std::unique_lock<std::mutex>& lock) {
    Queue& q = queue();
    if (q.pending.empty()) return false;
    PendingCall* p = q.pending.front();
    q.pending.pop_front();
    lock.unlock();
    (*p->call)();
    lock.lock();
    p->done = true;
    q.changed.notify_all();
    return true;
}

}  // namespace

void MainThread::adoptCurrentThread() {
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().mainId = std::this_thread::get_id();
}

bool MainThread::isCurrent() {
    std::lock_guard<std::mutex> lock(queue().mutex);
    return queue().mainId == std::this_thread::get_id();
}

void MainThread::synchronize(const std::function<void()>& call) {
    if (isCurrent()) {
        call();
        return;
    }
    Queue& q = queue();
    PendingCall p{&call};
    std::function<void()> hook;
    {
        std::lock_guard<std::mutex> lock(q.mutex);
        q.pending.push_back(&p);
        hook = q.wakeHook;
        q.changed.notify_all();
    }
    if (hook) hook();
    std::unique_lock<std::mutex> lock(q.mutex);
    q.changed.wait(lock, [&] { return p.done; });
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
    std::lock_guard<std::mutex> lock(queue().mutex);
    ++queue().notifications;
    queue().changed.notify_all();
}

void MainThread::setWakeHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(queue().mutex);
    queue().wakeHook = std::move(hook);
}

}  // namespace platform
