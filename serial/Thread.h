#pragma once
// TReadThread: one receive pass per receive-request signal, moving what the driver has queued into
// the free part of the receive ring.
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
    void pass();

    TCommPort* port_;
    std::shared_ptr<platform::SerialDevice> device_;
};
