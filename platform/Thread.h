#pragma once
// The framework thread the port's five threads derive from: a body (Execute), a stop request that
// the body looks at (Terminate / Terminated), a wait for the body's end (WaitFor) and Synchronize,
// which runs a call on the main thread and blocks until it has returned.
//
// A derived class calls Start() at the end of its own constructor (the body may not run before the
// object is complete). WaitFor on the main thread keeps running queued main-thread calls while it
// waits, so a thread blocked in Synchronize can still finish. The destructor waits for the body.
#include <atomic>
#include <functional>
#include <thread>

namespace platform {

class Thread {
  public:
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    void Terminate() { terminated_.store(true); }
    bool Terminated() const { return terminated_.load(); }
    // Waits for the body to end (any thread but this one). Returns at once when already ended.
    void WaitFor();
    bool Finished() const { return finished_.load(); }

  protected:
    Thread() = default;
    // `name` (at most 15 characters) names the thread for ps, top and perf.
    void Start(const char* name = nullptr);
    virtual void Execute() = 0;
    static void Synchronize(const std::function<void()>& call);

  private:
    void run();

    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

}  // namespace platform
