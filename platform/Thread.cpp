#include "platform/Thread.h"

#include "platform/MainThread.h"

namespace platform {

Thread::~Thread() {
    WaitFor();
}

void Thread::Start() {
    thread_ = std::thread([this] { run(); });
}

void Thread::run() {
    Execute();
    finished_.store(true);
    // A main thread parked in WaitFor looks at finished_ again.
    MainThread::notify();
}

void Thread::WaitFor() {
    if (!thread_.joinable()) return;
    if (MainThread::isCurrent()) MainThread::waitUntil([this] { return finished_.load(); });
    thread_.join();
}

void Thread::Synchronize(const std::function<void()>& call) {
    MainThread::synchronize(call);
}

}  // namespace platform
