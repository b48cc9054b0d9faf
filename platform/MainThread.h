#pragma once
// The main-thread hand-over: worker threads queue a call for the main (GUI) thread and block until
// it has run there. The GUI installs a wake-up hook that makes its event loop drain the queue;
// headless code drains it itself. A main thread that waits for something (a thread to end) keeps
// running queued calls meanwhile, so a pending delivery can never deadlock a close.
//
// Thread rules: synchronize() and notify() may be called from any thread; drain(), drainFor() and
// waitUntil() only from the main thread. adoptCurrentThread() at start-up, before worker threads
// exist; setWakeHook() at any time (once it has returned, the old hook is not running and never
// runs again, so a hook may capture what its setter is about to destroy).
#include <chrono>
#include <cstddef>
#include <functional>

namespace platform {

class MainThread {
  public:
    // The calling thread becomes the main thread (program start, or a test's fixture).
    static void adoptCurrentThread();
    static bool isCurrent();

    // Runs `call` on the main thread and returns once it has returned. Called on the main thread
    // itself, it runs `call` at once.
    static void synchronize(const std::function<void()>& call);

    // Runs every queued call; returns how many ran.
    static std::size_t drain();
    // Waits up to `timeout` for a queued call, then drains; returns how many ran.
    static std::size_t drainFor(std::chrono::milliseconds timeout);
    // Blocks until `done()` holds, running queued calls meanwhile. `done` is looked at again after
    // every call that ran and after every notify().
    static void waitUntil(const std::function<bool()>& done);
    // Wakes a waitUntil() so that it looks at its condition again.
    static void notify();

    // Called (on the queuing thread) each time a call has been queued.
    static void setWakeHook(std::function<void()> hook);
};

}  // namespace platform
