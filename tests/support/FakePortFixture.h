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

class FakePortTest : public ::testing::Test {
protected:
    FakePortTest() {
        platform::MainThread::adoptCurrentThread();
        port.SetDeviceFactory([this] { return fake; });
    }

    platform::RecordingMessageService messages;
    std::shared_ptr<platform::FakeSerialDevice> fake = std::make_shared<platform::FakeSerialDevice>();
    TCommPort port;
};

}  // namespace testsupport
