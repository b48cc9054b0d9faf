#pragma once
// Tells when serial device nodes come or go, without polling: inotify on /dev (ttyUSB*, ttyACM*,
// ...), /dev/pts (pseudo-terminals, as the simulator uses) and /dev/serial/by-id (watched from the
// moment udev makes it).
// The owner waits for fd() to become readable and then calls takeChanges().
#include <string>

namespace platform {

class DeviceWatch {
  public:
    explicit DeviceWatch(const std::string& devRoot = "/dev");
    ~DeviceWatch();
    DeviceWatch(const DeviceWatch&) = delete;
    DeviceWatch& operator=(const DeviceWatch&) = delete;

    // Readable when something changed; -1 when inotify is not available.
    int fd() const { return fd_; }
    // Reads what is pending; true when a serial device node (or its stable name) came or went.
    bool takeChanges();

  private:
    void watchStableNames();

    std::string devRoot_;
    int fd_ = -1;
    int devWatch_ = -1;
    int serialWatch_ = -1;
};

}  // namespace platform
