#pragma once
// A TCommPort on a FakeSerialDevice, with recorded messages and the test thread as main thread.
#include <gtest/gtest.h>

#include <memory>

#include "platform/FakeSerialDevice.h"
#include "platform/MainThread.h"
#include "platform/RecordingMessageService.h"
#include "serial/Commport.h"
#include "support/MainPump.h"

namespace testsupport {

// Handlers often capture a test's locals, which are gone when the fixture ends: drop every handler,
// then close, so that no late delivery reaches a dead frame.
inline void detachAndClose(TCommPort& port) {
    port.OnCTSSignal = port.OnDCDSignal = port.OnDSRSignal = port.OnRxDSignal = nullptr;
    port.OnTxDSignal = port.OnRingSignal = port.OnBreakSignal = port.OnRxEventSignal = nullptr;
    port.OnClose = port.OnDeviceLost = nullptr;
    port.OnErrorSignal = port.OnOpen = nullptr;
    port.OnDataReceived = nullptr;
    port.SetOpen(false);
}

class FakePortTest : public ::testing::Test {
  protected:
    FakePortTest() {
        platform::MainThread::adoptCurrentThread();
        port.SetDeviceFactory([this] { return fake; });
    }
    void TearDown() override { detachAndClose(port); }

    platform::RecordingMessageService messages;
    std::shared_ptr<platform::FakeSerialDevice> fake =
        std::make_shared<platform::FakeSerialDevice>();
    TCommPort port;
};

}  // namespace testsupport
