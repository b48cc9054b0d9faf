#include "platform/Thread.h"

#include <pthread.h>

#include "platform/MainThread.h"

namespace platform {

Thread::~Thread() {
    WaitFor();
}

void Thread::Start(const char* name) {
    thread_ = std::thread([this] { run(); });
    if (name) ::pthread_setname_np(thread_.native_handle(), name);
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
