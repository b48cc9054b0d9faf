#pragma once
// TStatusThread: waits for line events, keeps CTS/DSR/DCD/Ring current and wakes the receive
// thread (data), the transmit thread (CTS back on under ccHard) and the status-event thread.
#include <memory>

#include "platform/SerialDevice.h"
#include "platform/Signal.h"
#include "platform/Thread.h"
#include "serial/Commport.h"

class TStatusThread : public platform::Thread {
  public:
    TStatusThread(TCommPort* port, TEventStates events);
    ~TStatusThread() override;
    // Ends the pending event wait (empty mask) so that the body sees its stop request.
    void Wake();

  protected:
    void Execute() override;

  private:
    TCommPort* port_;
    std::shared_ptr<platform::SerialDevice> device_;
    // Where the thread sleeps once the device is gone, or when nothing is monitored, until its
    // stop request.
    platform::Signal completion_{platform::Signal::Reset::Manual};
    const TEventStates events_;
};
