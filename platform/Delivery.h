#pragma once
// A delivery is a call that a worker thread has handed to the main thread and is blocked on until
// it returns (MainThread::synchronize: the port's data, status and device-lost events).
//
// The rule: nothing may run a nested event loop (a modal message box) or close the port inside a
// delivery. A box's loop would run timers and deferred closes on top of the delivery, and a close
// of the port waits for its threads to end, one of which is the thread blocked in that very
// delivery. Work of that kind goes through afterDelivery(): outside a delivery it runs at once;
// inside one it is kept and handed, once the outermost delivery has returned, to the poster the
// program installed (the Qt event loop), all of it in one call, in the order it was asked for.
// Without a poster (headless code, which has no nested loops) it runs as the outermost delivery
// ends. MessageService's messages() already defers every box this way.
//
// Main thread only (the depth is per thread, so a worker thread is never "in a delivery").
#include <functional>

namespace platform {

class DeliveryScope {
  public:
    DeliveryScope();
    ~DeliveryScope();
    DeliveryScope(const DeliveryScope&) = delete;
    DeliveryScope& operator=(const DeliveryScope&) = delete;

    // Whether the calling thread is inside a delivery.
    static bool active();
};

void afterDelivery(std::function<void()> call);

// The program's way of running a call once control is back in its event loop.
using AfterDeliveryPoster = std::function<void(std::function<void()>)>;
void setAfterDeliveryPoster(AfterDeliveryPoster poster);

}  // namespace platform
