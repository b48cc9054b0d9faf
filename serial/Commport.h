#pragma once
// TCommPort: one serial port with a software receive ring and transmit ring in front of the device,
// five I/O threads while open, and events (closures) that always run on the main thread.
//
// Threads and locks
// - Every public operation is called from the main thread. Every event handler runs on the main
//   thread (platform::MainThread::synchronize); the delivering thread waits until it returns.
// - The status thread (Thstatus) waits for line events and writes CTS/DSR/DCD/Ring and the last
//   event mask; the receive thread (Thread) fills the receive ring; the transmit thread (Thwrite)
//   empties the transmit ring; the receive-event (Evread) and status-event (Evstatus) threads only
//   hand notifications to the main thread.
// - Each ring is a serial::ByteRing (one producer, one consumer): the receive thread produces into
//   the receive ring and the main thread consumes it; the main thread produces into the transmit
//   ring and the transmit thread consumes it. Each ring's lock guards only its start index and
//   used count, is never held across a copy, a device call or a handler, and never together with
//   the other's. Ring bytes need no lock (ByteRing.h).
// - Values read by other threads without a lock (the used counts for display, modem lines, the last
//   event mask, Control, the baud rate) are atomics.
// - A handler may call any operation except closing the port (SetOpen(false), ClosePort,
//   SetComNumber, SetIBuffSize, SetOBuffSize, Button2-style reopen): ClosePort waits for the very
//   thread that is blocked in the delivery. Defer a close to a queued call instead.
//
// Linux mapping (no Win32 serial interface here)
// - Device name: ComNumber is looked up in the COM port map (platform/ComPortMap.h), which gives a
//   device path such as /dev/serial/by-id/... or a pty; an unmapped number fails to open.
// - Opening: read/write, exclusive (flock, then TIOCEXCL), no controlling tty, non-blocking,
//   close-on-exec. "Permission denied" adds a second line naming the device and its owner group.
// - Queue sizes (SetupComm): the kernel's tty buffers are fixed; the sizes are accepted, unused.
// - Time-outs: Linux has none per port. The device object keeps the five values; the saved set is
//   what the device held before this open (zero for a freshly opened tty). Reads take only queued
//   bytes, so the read time-outs never matter. A non-zero write total time-out (multiplier x bytes
//   + constant, ms) bounds each write burst as on Windows: when it passes, the burst fails.
// - Event mask and modem bits keep their Win32 values (platform/SerialDevice.h). Received data
//   comes from poll(), transmit-empty from TIOCOUTQ, modem-line changes, breaks and line errors
//   from TIOCMIWAIT / TIOCGICOUNT where the driver has them (probed once at open; a pty has only
//   data and transmit-empty events).
// - Line settings: any rate (termios2 with BOTHER, read back); mark/space parity with CMSPAR;
//   1.5 stop bits has no termios equivalent and is sent as two stop bits (BitsWarning still warns);
//   ccHard is CRTSCTS (DSR output flow and DTR handshake have no equivalent and are left out: DTR
//   is simply raised); ccSoft is IXON|IXOFF with VSTART/VSTOP = XonChar/XoffChar; XonLim and
//   XoffLim cannot be set on Linux and are only stored. CLOCAL and CREAD are always on.
// - A device that cannot report its modem lines (a pty) leaves CTS false, and ccHard then does
//   not hold output back: there is no line that could ever release it. The same holds for a
//   driver that reports the lines but never signals their changes (no TIOCMIWAIT / TIOCGICOUNT,
//   SerialDevice::signalsModemChanges): a CTS read as off at open could never be seen coming on.
//   On Linux the kernel's CRTSCTS already holds the bytes on the line until the peer allows them,
//   so the component holds them in its ring only where a line event can release them.
// - OnErrorSignal's Error is the line-error flags of the event (Overrun 0x2, Parity 0x4, Frame 0x8,
//   Break 0x10, the Win32 CE_* values).
//
// Device lost (unplug, hang-up: read() == 0, EIO, POLLHUP)
// - The status thread notices it, raises OnDeviceLost once per open (on the main thread, after the
//   line events of the same dispatch) and then sleeps until its stop request; the other threads see
//   every later device call fail at once and go back to sleep; nothing spins. The port stays Open
//   until the owner closes it: a handler of OnDeviceLost must defer that close (queued call).
//
// Closing while output is held back
// - ClosePort lets the transmit thread empty the ring first. When the device takes no byte for
//   CloseDrainLimit plus the wire time of the piece (flow control holding it for ever, a stalled
//   adapter), the thread flushes the driver's output, discards the ring and ends, so ClosePort
//   always finishes.
//
// Other decisions
// - SetBaudRate / SetParity / SetStopBits with an ordinal outside their enumeration store it and
//   leave the device's own setting alone; SetComControl stores anything else as ccNone.
// - OpenPort resets all four signals before the first thread starts (rather than each just before
//   its own thread), so a first event of the status thread cannot be swallowed by a later reset.
// - The transmitter leaves at a stop request only when nothing it may send is left (a request
//   that came before it first looked at the ring would otherwise drop the bytes).
// - FlushOutBuffer also ends a write in flight. Both flushes move the ring's start past the
//   discarded bytes and bump a generation, so a transfer in flight is not counted afterwards and
//   new bytes never overwrite those a write in flight still reads.
// - While its ring has room and received data is monitored, the receive thread also wakes on the
//   device's own received data (a tty), saving the hop through the status thread. Meanwhile the
//   status thread's wait is not woken by the bytes themselves: it completes with RxChar once the
//   receive thread has read them and raised data-received (one thread woken per arrival, the
//   delivery's first), and raises no receive request for them (an empty pass would cost two more
//   wake-ups). A full ring, or a hung-up device, waits for the request alone, and the status
//   thread watches the data again.
// - GetBlock takes at most 65535 bytes per call, so that its 16-bit result is always exact.
// - A receive pass that found the ring full leaves the thread waiting for the receive request
//   alone. GetBlock (and FlushInBuffer) re-arm reception when the count under the lock, at the
//   moment they free room, is the ring's size; an earlier snapshot could miss a ring that the
//   receive thread filled in between, and nothing would wake it until something was sent.
// - CTS/DSR/DCD/Ring are cleared at close only after the status thread has ended (it writes them
//   until then), so they read false once ClosePort has returned.
// - An empty MonitorEvents ends every device event wait at once: the status thread then sleeps
//   until its stop request instead of waiting again. Nothing is reported, not even a lost
//   device, and bytes are read only on RequestRead.
// - A start index beyond a ring that shrank is wrapped to 0 at the next open.
// - At close the device lets output still moving drain (30 s at most, the driver's own default
//   closing_wait), and flushes it once it has not moved for 2 s.
//
// Tests plug a device in with SetDeviceFactory (per port) or SetDefaultDeviceFactory (all ports);
// the default opens a PosixSerialDevice on the mapped path.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/SerialDevice.h"
#include "platform/Signal.h"
#include "serial/ByteRing.h"

class TStatusThread;
class TReadThread;
class TWriteThread;
class TReadEventThread;
class TStatusEventThread;

enum TBaudRate : int {
    cbr110,
    cbr300,
    cbr600,
    cbr1200,
    cbr2400,
    cbr4800,
    cbr9600,
    cbr14400,
    cbr19200,
    cbr38400,
    cbr56000,
    cbr57600,
    cbr115200,
    cbr128000,
    cbr256000
};
enum TComControl : int { ccNone, ccSoft, ccHard };
enum TParity : int { paNone, paOdd, paEven, paMark, paSpace };
enum TStopBits : int { sb1_0, sb1_5, sb2_0 };
enum TEventState : int {
    evRxChar,
    evRxEventChar,
    evTxEmpty,
    evCTS,
    evDSR,
    evRlsd,
    evBreak,
    evError,
    evRing
};
enum TComTimeOuts : int {
    toReadInterval,
    toReadTotalMultiplier,
    toReadTotalConstant,
    toWriteTotalMultiplier,
    toWriteTotalConstant
};

// A set of TEventState: member n is bit 1 << n, the line-event bit it stands for.
using TEventStates = std::uint32_t;
constexpr TEventStates EventBit(TEventState e) {
    return TEventStates{1} << e;
}
constexpr TEventStates AllEventsButRxEventChar = 0x01FD;

class TCommPort;
using TNotifyEvent = std::function<void(TCommPort* Sender)>;
using TErrorEvent = std::function<void(TCommPort* Sender, int Error)>;
using TDataEvent = std::function<void(TCommPort* Sender, std::uint32_t Count)>;
using TDeviceFactory = std::function<std::shared_ptr<platform::SerialDevice>()>;

class TCommPort {
  public:
    // No byte taken for this long while closing ends the transmit thread's drain (plus wire time).
    static constexpr std::chrono::milliseconds CloseDrainLimit{2000};
    static constexpr int BreakTickMs = 55;

    explicit TCommPort(void* Owner = nullptr);
    ~TCommPort();
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    // Device injection (main thread, while closed).
    void SetDeviceFactory(TDeviceFactory factory) { factory_ = std::move(factory); }
    static void SetDefaultDeviceFactory(TDeviceFactory factory);

    // --- Opening and closing ---
    void SetOpen(bool value);
    bool Open() const { return open_; }
    void OpenPort();
    void ClosePort();
    bool IsEnabled() const { return device_ != nullptr; }
    void SetComNumber(int value);
    int ComNumber() const { return comNumber_; }
    // The device path OpenPort used last (for messages and the port window).
    const std::string& DevicePath() const { return devicePath_; }
    // Why the last open failed and what to do, one line (platform/PortDiagnostics); empty after a
    // successful open.
    const std::string& OpenFailureCause() const { return openFailureCause_; }
    // The system's error number of that failure (EBUSY: another program holds the port), or 0.
    int OpenFailureError() const { return openFailureError_; }

    // --- Rings ---
    void SetIBuffSize(std::uint32_t value);
    void SetOBuffSize(std::uint32_t value);
    std::uint32_t InSize() const { return inSize_; }
    std::uint32_t OutSize() const { return outSize_; }
    std::uint32_t GetInBuffUsed() const { return rxRing_.used(); }
    std::uint32_t GetOutBuffUsed() const { return txRing_.used(); }
    std::uint32_t GetInBuffFree();
    std::uint32_t GetOutBuffFree();
    std::uint32_t InBuffUsed() const { return GetInBuffUsed(); }
    std::uint32_t OutBuffUsed() const { return GetOutBuffUsed(); }
    int GetOutQueCount();
    // Ring start indices, for diagnostics and tests.
    std::uint32_t InStart();
    std::uint32_t OutStart();

    // --- Line settings ---
    void SetBaudRate(TBaudRate value);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaud(int value);
    int GetBaud() const;
    int Baud() const { return GetBaud(); }
    void SetParity(TParity value);
    TParity Parity() const { return parity_; }
    void SetStopBits(TStopBits value);
    TStopBits StopBits() const { return stopBits_; }
    void SetDataBits(std::uint16_t value);
    std::uint16_t DataBits() const { return dataBits_; }
    void SetComControl(TComControl value);
    TComControl Control() const { return control_.load(); }
    void SetXonLim(std::uint16_t value);
    std::uint16_t XonLim() const { return xonLim_; }
    void SetXoffLim(std::uint16_t value);
    std::uint16_t XoffLim() const { return xoffLim_; }
    void SetXonChar(std::uint8_t value);
    std::uint8_t XonChar() const { return xonChar_; }
    void SetXoffChar(std::uint8_t value);
    std::uint8_t XoffChar() const { return xoffChar_; }
    void SetEventChar(std::uint8_t value);
    std::uint8_t EventChar() const { return eventChar_; }
    void BitsWarning();

    // Takes effect at the next open.
    TEventStates MonitorEvents = AllEventsButRxEventChar;

    // --- Time-outs ---
    std::uint32_t GetTimeOuts(TComTimeOuts which, char current);
    void SetTimeOut(TComTimeOuts which, std::uint32_t value);

    // --- Data (never blocks on the device) ---
    std::uint32_t PutBlock(const char* data, std::uint32_t len);
    std::uint32_t PutChar(char c);
    std::uint32_t PutString(const char* s);
    std::uint16_t GetBlock(char* buffer, std::uint32_t len);
    char GetChar();
    bool CharReady() const { return rxRing_.used() != 0; }
    void FlushInBuffer();
    void FlushOutBuffer();
    void RequestRead();

    // --- Modem lines and break ---
    void SetDTR(bool value);
    bool DTR() const { return dtr_; }
    void SetRTS(bool value);
    bool RTS() const { return rts_; }
    bool CTS() const { return cts_.load(); }
    bool DSR() const { return dsr_.load(); }
    bool DCD() const { return dcd_.load(); }
    bool Ring() const { return ring_.load(); }
    void PowerOn();
    void PowerOff();
    bool SetBreak(bool value);
    void SendBreak(std::uint16_t ticks);
    bool GetModemState(int line);

    // --- Events (main thread; an unassigned one is skipped) ---
    TNotifyEvent OnCTSSignal;
    TNotifyEvent OnDCDSignal;
    TNotifyEvent OnDSRSignal;
    TNotifyEvent OnRxDSignal;
    TNotifyEvent OnTxDSignal;
    TNotifyEvent OnRingSignal;
    TNotifyEvent OnBreakSignal;
    TNotifyEvent OnRxEventSignal;
    TErrorEvent OnErrorSignal;
    TDataEvent OnDataReceived;
    TErrorEvent OnOpen;
    TNotifyEvent OnClose;
    // The device went away while open; raised once per open. Defer the close out of the handler.
    TNotifyEvent OnDeviceLost;
    // The device could not be opened; raised before the message box, with OpenFailureCause() set.
    TNotifyEvent OnOpenFailed;

  private:
    friend class TStatusThread;
    friend class TReadThread;
    friend class TWriteThread;
    friend class TReadEventThread;
    friend class TStatusEventThread;

    using ControlChange = std::function<void(platform::DeviceControl&)>;
    // Stores nothing; changes one field of the device's record while enabled.
    void applyControl(const ControlChange& change);
    void noteError(int err) {
        if (err != 0) lastError_ = err;
    }
    bool escape(platform::Escape function);
    void setLine(bool& property, bool value, platform::Escape on, platform::Escape off);
    void refreshModemLines();
    // ccHard with CTS off, on a device whose line changes can release it.
    bool ctsHoldsOutput() const;
    std::shared_ptr<platform::SerialDevice> makeDevice();
    void reportOpenFailure(int err, const std::string& path);
    template <class T>
    void stopThread(std::unique_ptr<T>& thread, const std::function<void()>& wake);

    // Properties.
    int comNumber_ = 1;
    bool open_ = false;
    bool dtr_ = false;
    bool rts_ = true;
    std::atomic<bool> cts_{false}, dsr_{false}, dcd_{false}, ring_{false};
    std::uint32_t inSize_ = 2048;
    std::uint32_t outSize_ = 4096;
    TBaudRate baudRate_ = cbr9600;
    std::atomic<TComControl> control_{ccNone};
    TParity parity_ = paNone;
    TStopBits stopBits_ = sb1_0;
    std::uint16_t dataBits_ = 8;
    std::uint16_t xonLim_ = 0;
    std::uint16_t xoffLim_ = 1024;
    std::uint8_t xonChar_ = 17;
    std::uint8_t xoffChar_ = 19;
    std::uint8_t eventChar_ = 0;

    // Device and time-outs.
    TDeviceFactory factory_;
    std::shared_ptr<platform::SerialDevice> device_;
    std::string devicePath_;
    int lastError_ = 0;
    std::string openFailureCause_;
    int openFailureError_ = 0;
    platform::DeviceTimeOuts configuredTimeOuts_{{10, 0, 1000, 0, 0}};
    platform::DeviceTimeOuts savedTimeOuts_;
    std::atomic<std::uint32_t> lineRate_{9600};  // read by the transmit thread for its bounds

    // Allocated while open; a flush bumps a ring's generation so that a transfer in flight is not
    // counted.
    serial::ByteRing txRing_, rxRing_;

    // Signals between the threads.
    platform::Signal receiveRequest_{platform::Signal::Reset::Automatic};
    platform::Signal transmit_{platform::Signal::Reset::Manual};
    platform::Signal dataReceived_{platform::Signal::Reset::Automatic};
    platform::Signal status_{platform::Signal::Reset::Automatic};
    std::atomic<std::uint32_t> lastEventMask_{0};
    std::atomic<std::uint32_t> lastLineErrors_{0};
    std::atomic<bool> deviceLostPending_{false};
    // The device reports its modem lines (a pty does not): only then can CTS hold output back.
    std::atomic<bool> modemLinesKnown_{false};
    // The receive thread watches the device's own data (from one pass to the next), so a receive
    // request is not needed.
    std::atomic<bool> receiveWatchesDevice_{false};

    std::unique_ptr<TStatusThread> statusThread_;
    std::unique_ptr<TReadThread> readThread_;
    std::unique_ptr<TWriteThread> writeThread_;
    std::unique_ptr<TReadEventThread> readEventThread_;
    std::unique_ptr<TStatusEventThread> statusEventThread_;
};
