#pragma once
// The serial device under the port component: a small interface with the real tty implementation
// (PosixSerialDevice) and a scriptable one for tests (FakeSerialDevice). It mirrors the handful of
// operations the component needs; every call returns 0 or the errno of the step that failed.
//
// Threads: the component's status thread alone calls waitEvent(), its transmit thread alone calls
// write(), its receive thread alone calls read(); any thread may call the rest, except that open()
// and close() run while no other thread uses the device.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Line events, with the bit values of the Win32 event mask.
namespace lineEvent {
constexpr std::uint32_t RxChar = 0x0001;
constexpr std::uint32_t RxFlag = 0x0002;   // the event character arrived
constexpr std::uint32_t TxEmpty = 0x0004;  // the driver's transmit queue ran empty
constexpr std::uint32_t Cts = 0x0008;
constexpr std::uint32_t Dsr = 0x0010;
constexpr std::uint32_t Rlsd = 0x0020;  // DCD
constexpr std::uint32_t Break = 0x0040;
constexpr std::uint32_t Err = 0x0080;  // framing, overrun or parity error
constexpr std::uint32_t Ring = 0x0100;
}  // namespace lineEvent

// Modem status bits, with the Win32 values.
namespace modemBit {
constexpr std::uint32_t Cts = 0x10;
constexpr std::uint32_t Dsr = 0x20;
constexpr std::uint32_t Ring = 0x40;
constexpr std::uint32_t Dcd = 0x80;
}  // namespace modemBit

// Line-error flags passed with an error event (Win32 CE_* values).
namespace lineError {
constexpr std::uint32_t Overrun = 0x0002;
constexpr std::uint32_t Parity = 0x0004;
constexpr std::uint32_t Frame = 0x0008;
constexpr std::uint32_t Break = 0x0010;
}  // namespace lineError

// The flags word of the device-control record, bit for bit as the Win32 DCB has it, so that the
// flow-control words of the component (0x0001, 0x1311, 0x202D) mean the same here.
namespace dcbFlag {
constexpr std::uint32_t Binary = 0x0001;
constexpr std::uint32_t Parity = 0x0002;
constexpr std::uint32_t OutxCtsFlow = 0x0004;
constexpr std::uint32_t OutxDsrFlow = 0x0008;
constexpr std::uint32_t DtrControlMask = 0x0030;
constexpr std::uint32_t DtrControlEnable = 0x0010;
constexpr std::uint32_t DtrControlHandshake = 0x0020;
constexpr std::uint32_t DsrSensitivity = 0x0040;
constexpr std::uint32_t TxContinueOnXoff = 0x0080;
constexpr std::uint32_t OutX = 0x0100;
constexpr std::uint32_t InX = 0x0200;
constexpr std::uint32_t RtsControlMask = 0x3000;
constexpr std::uint32_t RtsControlEnable = 0x1000;
constexpr std::uint32_t RtsControlHandshake = 0x2000;
}  // namespace dcbFlag

// The device-control record the line setters read, change in one field and write back.
struct DeviceControl {
    std::uint32_t baudRate = 9600;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::uint32_t flags = dcbFlag::Binary;
    std::uint16_t xonLim = 0;
    std::uint16_t xoffLim = 0;
    std::uint8_t xonChar = 17;
    std::uint8_t xoffChar = 19;
    std::uint8_t eventChar = 0;
    bool operator==(const DeviceControl&) const = default;
};

// The five time-outs in milliseconds, in the component's selector order.
struct DeviceTimeOuts {
    std::uint32_t value[5] = {0, 0, 0, 0, 0};
    bool operator==(const DeviceTimeOuts&) const = default;
};

enum class Escape { SetDtr, ClrDtr, SetRts, ClrRts, SetBreak, ClrBreak };

class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    virtual int open(const std::string& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // The device has gone (unplugged, hung up): every later operation fails at once.
    virtual bool lost() const = 0;

    virtual int setQueueSizes(std::uint32_t input, std::uint32_t output) = 0;
    virtual int getTimeOuts(DeviceTimeOuts& out) = 0;
    virtual int setTimeOuts(const DeviceTimeOuts& in) = 0;
    virtual int getControl(DeviceControl& out) = 0;
    virtual int setControl(const DeviceControl& in) = 0;

    // The events waitEvent() reports; setting it ends a pending waitEvent() with 0.
    virtual int setEventMask(std::uint32_t mask) = 0;
    // Blocks until an event of the mask happens (events != 0), the mask is set meanwhile or is
    // empty (events == 0), or the device is lost (returns EIO). Never returns at once twice for
    // the same condition, except for an empty mask.
    // `errors` receives the line-error flags behind an Err event.
    virtual int waitEvent(std::uint32_t& events, std::uint32_t& errors) = 0;

    // Reads and clears the line-error flags and reports the input and output queue counts.
    virtual int clearErrors(std::uint32_t* errors, std::uint32_t* inQueue,
                            std::uint32_t* outQueue) = 0;
    // Takes up to `size` queued bytes without blocking.
    virtual int read(void* buffer, std::size_t size, std::size_t& got) = 0;
    // Writes all of `size` unless it fails, `limit` passes without the whole block taken
    // (ETIMEDOUT; a zero limit means none) or interruptWrite() is called (EINTR). `written` tells
    // how much was taken in every case.
    virtual int write(const void* data, std::size_t size, std::size_t& written,
                      std::chrono::milliseconds limit) = 0;
    // Makes the current write(), or the next one, return EINTR.
    virtual void interruptWrite() = 0;
    // Asks for a fresh receive event although the input queue did not grow (ring space was freed).
    virtual void rearmReceive() = 0;
    // A descriptor that polls readable while received bytes are queued, or -1 when there is none:
    // the receive thread may then wake on data itself. A read() while the status thread has not
    // yet reported the bytes must still lead to its receive event.
    virtual int receiveFd() const { return -1; }
    // The receive thread polls receiveFd() from now on, until it says otherwise: the status
    // thread's wait then leaves the queued bytes to it and reports the receive event once read()
    // has taken them.
    virtual void setReceiveWatched(bool /*watched*/) {}

    virtual int purge(bool input, bool output) = 0;
    virtual int escape(Escape function) = 0;
    virtual int modemStatus(std::uint32_t& bits) = 0;
    // A change of the modem lines ends waitEvent() with its line event. A device that only reports
    // them (modemStatus) but never signals a change cannot tell when CTS comes back on.
    virtual bool signalsModemChanges() const { return false; }
};

}  // namespace platform
