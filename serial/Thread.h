#pragma once
// TReadThread: one receive pass per receive-request signal, moving what the driver has queued into
// the free part of the receive ring. While the ring has room it also wakes on the device's own
// received data, which saves the hop through the status thread; the status thread then raises no
// request of its own (TCommPort::receiveWatchesDevice_, kept from one pass to the next) and learns
// of the bytes from this thread's read instead of being woken by them too.
#include <memory>

#include "platform/SerialDevice.h"
#include "platform/Thread.h"
#include "serial/Commport.h"

class TReadThread : public platform::Thread {
  public:
    explicit TReadThread(TCommPort* port);
    ~TReadThread() override;

  protected:
    void Execute() override;

  private:
    void waitForWork();
    void watchDevice(bool on);
    void pass();

    TCommPort* port_;
    std::shared_ptr<platform::SerialDevice> device_;
    // Only when received data is monitored: otherwise nothing but RequestRead reads.
    bool pollDevice_;
};
