#pragma once
// TWriteThread: writes the transmit ring to the device whenever the transmit signal is raised,
// holding back under ccHard while CTS is off.
#include <chrono>
#include <memory>

#include "platform/SerialDevice.h"
#include "platform/Thread.h"
#include "serial/Commport.h"

class TWriteThread : public platform::Thread {
  public:
    explicit TWriteThread(TCommPort* port);
    ~TWriteThread() override;

  protected:
    void Execute() override;

  private:
    void burst();
    bool heldByCts() const;
    std::chrono::milliseconds limitFor(std::uint32_t bytes) const;

    TCommPort* port_;
    std::shared_ptr<platform::SerialDevice> device_;
    // The configured set as applied at this open (SetTimeOut acts at the next open).
    platform::DeviceTimeOuts timeOuts_;
};
