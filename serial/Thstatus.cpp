#include "serial/Thstatus.h"

namespace {
// Events after which the modem lines are read again.
constexpr std::uint32_t kLineEvents = platform::lineEvent::Cts | platform::lineEvent::Dsr |
                                      platform::lineEvent::Rlsd | platform::lineEvent::Ring |
                                      platform::lineEvent::Err;
}  // namespace

TStatusThread::TStatusThread(TCommPort* port, TEventStates events)
    : port_(port), device_(port->device_), events_(events) {
    device_->setEventMask(events);
    Start("Thstatus");
}

TStatusThread::~TStatusThread() {
    WaitFor();
}

void TStatusThread::Wake() {
    completion_.set();
    device_->setEventMask(0);
}

void TStatusThread::Execute() {
    port_->refreshModemLines();
    port_->lastEventMask_ = 0;
    // An empty mask ends every wait at once: there is nothing to wait for but the stop request.
    if (events_ == 0) {
        while (!Terminated()) completion_.wait();
        return;
    }
    while (!Terminated()) {
        std::uint32_t events = 0, errors = 0;
        if (device_->waitEvent(events, errors) != 0) {
            if (device_->lost()) {
                // Tell the owner once, then sleep until the stop request: nothing to wait on.
                port_->deviceLostPending_ = true;
                port_->lastEventMask_ = 0;
                port_->status_.set();
                completion_.wait();
            }
            continue;
        }
        port_->lastLineErrors_ = errors;
        port_->lastEventMask_ = events;
        if (events & kLineEvents) {
            port_->refreshModemLines();
            if (port_->control_ == ccHard && !port_->ctsHoldsOutput() && port_->txRing_.used() > 0)
                port_->transmit_.set();
        }
        // A receive thread that watches the device reads these bytes itself. One that does not
        // (full ring, nothing monitored for it, no descriptor) needs the request; a full ring is
        // re-armed by GetBlock once it has room, which brings a new RxChar here.
        if ((events & platform::lineEvent::RxChar) && !port_->receiveWatchesDevice_)
            port_->receiveRequest_.set();
        port_->status_.set();
    }
}
