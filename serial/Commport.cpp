#include "serial/Commport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/Catalogue.h"
#include "platform/ComPortMap.h"
#include "platform/MessageService.h"
#include "platform/PortDiagnostics.h"
#include "platform/PosixSerialDevice.h"
#include "serial/Evread.h"
#include "serial/Evstatus.h"
#include "serial/LineRates.h"
#include "serial/Thread.h"
#include "serial/Thstatus.h"
#include "serial/Thwrite.h"

namespace {

static_assert(serial::kLineRates.size() == cbr256000 + 1, "one rate for every TBaudRate");

constexpr std::uint32_t kFlagsNone = 0x0001;
constexpr std::uint32_t kFlagsSoft = 0x1311;
constexpr std::uint32_t kFlagsHard = 0x202D;

const char* const kErrorCaption = VIGIL_TRANSLATABLE("Commport", "COM port error");
const char* const kWarningCaption = "COM port warning";

TDeviceFactory& defaultFactory() {
    static TDeviceFactory factory;
    return factory;
}

}  // namespace

void TCommPort::SetDefaultDeviceFactory(TDeviceFactory factory) {
    defaultFactory() = std::move(factory);
}

TCommPort::TCommPort(void*) {}

TCommPort::~TCommPort() {
    ClosePort();
}

std::shared_ptr<platform::SerialDevice> TCommPort::makeDevice() {
    if (factory_) return factory_();
    if (defaultFactory()) return defaultFactory()();
    return std::make_shared<platform::PosixSerialDevice>();
}

// --- Opening and closing ---

void TCommPort::SetOpen(bool value) {
    if (value == open_) return;
    if (value)
        OpenPort();
    else
        ClosePort();
}

void TCommPort::reportOpenFailure(int err, const std::string& path) {
    openFailureCause_ = platform::describeOpenFailure(path, err);
    openFailureError_ = err;
    if (OnOpenFailed) OnOpenFailed(this);
    platform::messages().show(
        platform::translated("Commport", platform::kOpenFailedText) + "\n" + openFailureCause_,
        platform::translated("Commport", kErrorCaption), platform::MessageIcon::Error,
        platform::MessageButtons::Ok);
}

void TCommPort::OpenPort() {
    if (open_) return;
    // Start indices survive a close, but a ring may have shrunk meanwhile (ByteRing::allocate).
    txRing_.allocate(outSize_);
    rxRing_.allocate(inSize_);
    lastError_ = 0;

    devicePath_ = platform::devicePathFor(comNumber_);
    auto device = makeDevice();
    if (const int err = device->open(devicePath_); err != 0) {
        txRing_.release();
        rxRing_.release();
        reportOpenFailure(err, devicePath_);
        return;
    }
    device_ = device;
    openFailureCause_.clear();
    openFailureError_ = 0;

    noteError(device_->setQueueSizes(inSize_, outSize_));
    noteError(device_->getTimeOuts(savedTimeOuts_));
    noteError(device_->setTimeOuts(configuredTimeOuts_));
    SetComControl(control_.load());
    SetBaudRate(baudRate_);
    SetParity(parity_);
    SetStopBits(stopBits_);
    SetDataBits(dataBits_);
    SetXonLim(xonLim_);
    SetXoffLim(xoffLim_);
    SetXonChar(xonChar_);
    SetXoffChar(xoffChar_);
    SetEventChar(eventChar_);

    lastEventMask_ = 0;
    lastLineErrors_ = 0;
    deviceLostPending_ = false;
    receiveWatchesDevice_ = false;
    // Known before the transmitter runs, so that ccHard holds from the first byte.
    refreshModemLines();
    // Every signal is reset before the first thread runs: a reset after the status thread has
    // started could swallow its first wake (bytes already queued at open would then wait for ever).
    receiveRequest_.reset();
    transmit_.reset();
    dataReceived_.reset();
    status_.reset();
    statusThread_ = std::make_unique<TStatusThread>(this, MonitorEvents);
    readThread_ = std::make_unique<TReadThread>(this);
    writeThread_ = std::make_unique<TWriteThread>(this);
    readEventThread_ = std::make_unique<TReadEventThread>(this);
    statusEventThread_ = std::make_unique<TStatusEventThread>(this);

    open_ = true;
    SetDTR(dtr_);
    SetRTS(rts_);
    if (OnOpen) OnOpen(this, lastError_);
}

template <class T>
void TCommPort::stopThread(std::unique_ptr<T>& thread, const std::function<void()>& wake) {
    if (!thread) return;
    thread->Terminate();
    wake();
    thread->WaitFor();
    thread.reset();
}

void TCommPort::ClosePort() {
    if (!open_) return;
    stopThread(statusThread_, [this] { statusThread_->Wake(); });
    // Only now: the status thread writes the lines until it has ended.
    cts_ = dsr_ = dcd_ = ring_ = false;
    stopThread(readThread_, [this] { receiveRequest_.set(); });
    stopThread(writeThread_, [this] {
        device_->interruptWrite();  // a blocked burst re-checks with the close's drain limit
        transmit_.set();
    });
    stopThread(readEventThread_, [this] { dataReceived_.set(); });
    stopThread(statusEventThread_, [this] { status_.set(); });

    device_->setTimeOuts(savedTimeOuts_);
    device_->close();
    device_.reset();

    txRing_.release();
    rxRing_.release();
    open_ = false;
    if (OnClose) OnClose(this);
}

void TCommPort::SetComNumber(int value) {
    SetOpen(false);
    comNumber_ = value;
}

void TCommPort::SetIBuffSize(std::uint32_t value) {
    const bool wasOpen = open_;
    ClosePort();
    inSize_ = value;
    if (wasOpen) OpenPort();
}

void TCommPort::SetOBuffSize(std::uint32_t value) {
    const bool wasOpen = open_;
    ClosePort();
    outSize_ = value;
    if (wasOpen) OpenPort();
}

// --- Line settings ---

void TCommPort::applyControl(const ControlChange& change) {
    if (!IsEnabled()) return;
    platform::DeviceControl dc;
    int err = device_->getControl(dc);
    if (err == 0) {
        change(dc);
        err = device_->setControl(dc);
    }
    noteError(err);
}

void TCommPort::SetBaudRate(TBaudRate value) {
    baudRate_ = value;
    const int rate = GetBaud();
    if (rate == 0) return;  // no line rate for this ordinal: the device keeps its own
    lineRate_ = static_cast<std::uint32_t>(rate);
    applyControl(
        [rate](platform::DeviceControl& dc) { dc.baudRate = static_cast<std::uint32_t>(rate); });
}

int TCommPort::GetBaud() const {
    const auto i = static_cast<std::size_t>(baudRate_);
    return i < serial::kLineRates.size() ? serial::kLineRates[i] : 0;
}

void TCommPort::SetBaud(int value) {
    if (const auto index = serial::lineRateIndex(value))
        SetBaudRate(static_cast<TBaudRate>(*index));
}

void TCommPort::SetParity(TParity value) {
    parity_ = value;
    if (value < paNone || value > paSpace) return;
    applyControl(
        [value](platform::DeviceControl& dc) { dc.parity = static_cast<std::uint8_t>(value); });
}

void TCommPort::SetStopBits(TStopBits value) {
    stopBits_ = value;
    if (value >= sb1_0 && value <= sb2_0)
        applyControl([value](platform::DeviceControl& dc) {
            dc.stopBits = static_cast<std::uint8_t>(value);
        });
    BitsWarning();
}

void TCommPort::SetDataBits(std::uint16_t value) {
    if (value < 5 || value > 8) value = 8;
    dataBits_ = value;
    applyControl(
        [value](platform::DeviceControl& dc) { dc.byteSize = static_cast<std::uint8_t>(value); });
    BitsWarning();
}

void TCommPort::SetComControl(TComControl value) {
    if (value != ccSoft && value != ccHard) value = ccNone;
    control_ = value;
    const std::uint32_t flags = value == ccSoft   ? kFlagsSoft
                                : value == ccHard ? kFlagsHard
                                                  : kFlagsNone;
    applyControl([flags](platform::DeviceControl& dc) { dc.flags = flags; });
}

void TCommPort::SetXonLim(std::uint16_t value) {
    xonLim_ = value;
    applyControl([value](platform::DeviceControl& dc) { dc.xonLim = value; });
}

void TCommPort::SetXoffLim(std::uint16_t value) {
    value = static_cast<std::uint16_t>(std::min<std::uint32_t>({value, inSize_, 65535u}));
    xoffLim_ = value;
    applyControl([value](platform::DeviceControl& dc) { dc.xoffLim = value; });
}

void TCommPort::SetXonChar(std::uint8_t value) {
    xonChar_ = value;
    applyControl([value](platform::DeviceControl& dc) { dc.xonChar = value; });
}

void TCommPort::SetXoffChar(std::uint8_t value) {
    xoffChar_ = value;
    applyControl([value](platform::DeviceControl& dc) { dc.xoffChar = value; });
}

void TCommPort::SetEventChar(std::uint8_t value) {
    eventChar_ = value;
    applyControl([value](platform::DeviceControl& dc) { dc.eventChar = value; });
}

void TCommPort::BitsWarning() {
    const char* text = nullptr;
    if (dataBits_ != 5 && stopBits_ == sb1_5)
        text = "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)";
    else if (dataBits_ == 5 && stopBits_ == sb2_0)
        text = "Invalid combination (5 data bits with 2 stop bits)";
    if (text)
        platform::messages().show(text, kWarningCaption, platform::MessageIcon::Warning,
                                  platform::MessageButtons::Ok);
}

// --- Time-outs ---

std::uint32_t TCommPort::GetTimeOuts(TComTimeOuts which, char current) {
    if (!IsEnabled() || which < toReadInterval || which > toWriteTotalConstant) return 0;
    return (current ? configuredTimeOuts_ : savedTimeOuts_).value[which];
}

void TCommPort::SetTimeOut(TComTimeOuts which, std::uint32_t value) {
    if (which < toReadInterval || which > toWriteTotalConstant) return;
    configuredTimeOuts_.value[which] = value;
}

// --- Rings ---

std::uint32_t TCommPort::PutBlock(const char* data, std::uint32_t len) {
    if (!IsEnabled() || len == 0) return 0;
    const serial::ByteRing::Spans room = txRing_.writable();
    const std::uint32_t first = std::min(len, room.first.size);
    const std::uint32_t second = std::min(len - first, room.second.size);
    if (first) std::memcpy(room.first.data, data, first);
    if (second) std::memcpy(room.second.data, data + first, second);
    const std::uint32_t total = first + second;
    if (total == 0 || !txRing_.commit(room.generation, total)) return 0;
    transmit_.set();
    return total;
}

std::uint32_t TCommPort::PutChar(char c) {
    return PutBlock(&c, 1);
}

std::uint32_t TCommPort::PutString(const char* s) {
    return PutBlock(s, static_cast<std::uint32_t>(std::strlen(s)));
}

std::uint16_t TCommPort::GetBlock(char* buffer, std::uint32_t len) {
    if (!IsEnabled()) return 0;
    // The count returned is 16-bit: never take more than it can tell.
    len = std::min<std::uint32_t>(len, 65535u);
    const serial::ByteRing::Spans held = rxRing_.readable();
    const std::uint32_t first = std::min(len, held.first.size);
    const std::uint32_t second = std::min(len - first, held.second.size);
    if (held.size() == 0) return 0;
    if (first) std::memcpy(buffer, held.first.data, first);
    if (second) std::memcpy(buffer + first, held.second.data, second);
    const serial::ByteRing::Consumed freed = rxRing_.consume(held.generation, first + second);
    // A full ring stopped the last receive pass; bytes may wait in the driver. The ring tells
    // from its count at the moment of freeing: the receive thread may have filled and parked on
    // it after readable(), and only this re-arm wakes it.
    if (freed.wasFull) device_->rearmReceive();
    return static_cast<std::uint16_t>(first + second);
}

char TCommPort::GetChar() {
    char c = 0;
    if (rxRing_.used() != 0) GetBlock(&c, 1);
    return c;
}

std::uint32_t TCommPort::GetInBuffFree() {
    return inSize_ - rxRing_.used();
}

std::uint32_t TCommPort::GetOutBuffFree() {
    return outSize_ - txRing_.used();
}

std::uint32_t TCommPort::InStart() {
    return rxRing_.start();
}

std::uint32_t TCommPort::OutStart() {
    return txRing_.start();
}

int TCommPort::GetOutQueCount() {
    if (!IsEnabled()) return 0;
    std::uint32_t out = 0;
    if (device_->clearErrors(nullptr, nullptr, &out) != 0) return 0;
    return static_cast<int>(out);
}

void TCommPort::FlushInBuffer() {
    if (IsEnabled()) device_->purge(true, false);
    const bool wasFull = rxRing_.flush();
    // A receive thread parked on the full ring waits for a re-arm, as after GetBlock.
    if (wasFull && IsEnabled()) device_->rearmReceive();
}

void TCommPort::FlushOutBuffer() {
    if (IsEnabled()) device_->purge(false, true);
    transmit_.reset();
    txRing_.flush();
    if (IsEnabled()) device_->interruptWrite();
}

void TCommPort::RequestRead() {
    receiveRequest_.set();
}

// --- Modem lines and break ---

bool TCommPort::escape(platform::Escape function) {
    return IsEnabled() && device_->escape(function) == 0;
}

// The handshake drives the lines under ccHard; while open, the property follows the device.
void TCommPort::setLine(bool& property, bool value, platform::Escape on, platform::Escape off) {
    if (control_ == ccHard) return;
    if (!open_ || escape(value ? on : off)) property = value;
}

void TCommPort::SetDTR(bool value) {
    setLine(dtr_, value, platform::Escape::SetDtr, platform::Escape::ClrDtr);
}

void TCommPort::SetRTS(bool value) {
    setLine(rts_, value, platform::Escape::SetRts, platform::Escape::ClrRts);
}

void TCommPort::PowerOn() {
    escape(platform::Escape::SetDtr);
    escape(platform::Escape::SetRts);
    dtr_ = rts_ = true;
}

void TCommPort::PowerOff() {
    escape(platform::Escape::ClrDtr);
    escape(platform::Escape::ClrRts);
    dtr_ = rts_ = false;
}

bool TCommPort::SetBreak(bool value) {
    if (!open_) return false;
    return escape(value ? platform::Escape::SetBreak : platform::Escape::ClrBreak);
}

void TCommPort::SendBreak(std::uint16_t ticks) {
    if (IsEnabled()) SetBreak(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(ticks * BreakTickMs));
    if (IsEnabled()) SetBreak(false);
}

bool TCommPort::GetModemState(int line) {
    static constexpr std::uint32_t kBits[] = {platform::modemBit::Cts, platform::modemBit::Dsr,
                                              platform::modemBit::Ring, platform::modemBit::Dcd};
    if (line < 1 || line > 4 || !IsEnabled()) return false;
    std::uint32_t bits = 0;
    return device_->modemStatus(bits) == 0 && (bits & kBits[line - 1]) != 0;
}

bool TCommPort::ctsHoldsOutput() const {
    return control_ == ccHard && !cts_ && modemLinesKnown_ && device_->signalsModemChanges();
}

void TCommPort::refreshModemLines() {
    std::uint32_t bits = 0;
    modemLinesKnown_ = IsEnabled() && device_->modemStatus(bits) == 0;
    if (!modemLinesKnown_) return;
    cts_ = (bits & platform::modemBit::Cts) != 0;
    dsr_ = (bits & platform::modemBit::Dsr) != 0;
    dcd_ = (bits & platform::modemBit::Dcd) != 0;
    ring_ = (bits & platform::modemBit::Ring) != 0;
}
