#pragma once
// A pseudo-terminal pair for tests: the slave path is what the code under test opens (map it to a
// COM number with ComPortMapFile), the master fd is the far end the test plays. Header-only.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/ComPortMap.h"
#include "support/ScratchFolder.h"

namespace testsupport {

class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        // Keeping a slave fd open means the master never sees EIO between the test's opens.
        if (::openpty(&master_, &slaveKeep_, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty");
        termios t{};
        ::tcgetattr(slaveKeep_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slaveKeep_, TCSANOW, &t);
        slavePath_ = name;
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slaveKeep_, F_SETFD, FD_CLOEXEC);
    }
    ~PtyPair() {
        closeMaster();
        ::close(slaveKeep_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int master() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

    // The far end hangs up, as an unplugged adapter does: every slave fd sees the hang-up.
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

    void write(const std::string& bytes) const {
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
            pollfd p{master_, POLLOUT, 0};
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else
                ::poll(&p, 1, 100);
        }
    }

    // Reads until `count` bytes have come or `timeout` has passed; returns what came.
    std::string read(std::size_t count, std::chrono::milliseconds timeout) const {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        char buf[4096];
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
            const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - got.size()));
            if (n > 0) got.append(buf, static_cast<std::size_t>(n));
        }
        return got;
    }

    // Whatever is readable within `quiet` (for "nothing more arrived" checks).
    std::string drain(std::chrono::milliseconds quiet) const { return read(1 << 20, quiet); }

  private:
    int master_ = -1, slaveKeep_ = -1;
    std::string slavePath_;
};

// Points VIGIL_COMPORT_MAP at a fresh file for the test's lifetime.
class ComPortMapFile {
  public:
    ComPortMapFile() : path_(folder_.path("comports")) {
        if (const char* old = std::getenv("VIGIL_COMPORT_MAP")) old_ = old, hadOld_ = true;
        ::setenv("VIGIL_COMPORT_MAP", path_.c_str(), 1);
    }
    ~ComPortMapFile() {
        if (hadOld_)
            ::setenv("VIGIL_COMPORT_MAP", old_.c_str(), 1);
        else
            ::unsetenv("VIGIL_COMPORT_MAP");
    }
    ComPortMapFile(const ComPortMapFile&) = delete;
    ComPortMapFile& operator=(const ComPortMapFile&) = delete;

    int map(const std::string& device, int comNumber) {
        return platform::ComPortMap(path_).addMapping(device, comNumber);
    }
    const std::string& path() const { return path_; }

  private:
    ScratchFolder folder_;
    std::string path_, old_;
    bool hadOld_ = false;
};

}  // namespace testsupport
