// Firmware upload of a 256 KiB image to the simulated bootloader over a pty, first record sent to
// last answer taken (the 5-second settle left out):
// - unthrottled, against an ideal blocking stop-and-wait loop (write a record, read one byte) to
//   the same kind of simulator in the same run;
// - at a simulated 115200 bit/s, against the image's wire time.
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/RecordingMessageService.h"
#include "support/PtyPair.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/Simulator.h"
#include "update/PortUploadHost.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;
constexpr int kCom = 11;
constexpr int kRuns = 3;
constexpr unsigned kSimulatedRate = 115200;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The upload through the port component and the state machine.
double uploadSeconds(testsupport::ComPortMapFile& map, const update::FirmwareImage& image,
                     const Bytes& sent, unsigned simulatedRate) {
    sim::BootloaderMode boot;
    sim::Simulator engine(boot, simulatedRate);
    map.map(engine.createPty(), kCom);
    engine.start();
    testsupport::PortUploadHost host(kCom, image);
    host.port.SetBaudRate(cbr115200);
    if (!host.runUpload(std::chrono::seconds(120)) ||
        host.panel1() != update::kSuccessVersion01Text || boot.image() != sent || !host.firstWrite)
        return -1;
    return seconds(host.finishedAt - *host.firstWrite);
}

// The least any stop-and-wait sender can do: blocking write, blocking one-byte read.
double idealSeconds(const Bytes& image) {
    sim::BootloaderMode boot;
    sim::Simulator engine(boot);
    const std::string path = engine.createPty();
    engine.start();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    termios t{};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    const auto start = Clock::now();
    for (std::size_t pos = 0; pos < image.size();) {
        const std::size_t n = image[pos] * 256u + image[pos + 1] + 2;
        for (std::size_t done = 0; done < n;) {
            const ssize_t w = ::write(fd, image.data() + pos + done, n - done);
            if (w <= 0) return -1;
            done += static_cast<std::size_t>(w);
        }
        std::uint8_t answer = 0;
        if (::read(fd, &answer, 1) != 1 || answer != 0x11) return -1;
        pos += n;
    }
    const double s = seconds(Clock::now() - start);
    ::close(fd);
    return s;
}

}  // namespace

int main() {
    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
    Bytes payload(251 * sim::kMaxRecordPayload);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    const Bytes sent = sim::makeImage(payload);  // 262,044 bytes in 251 records
    auto image = std::make_unique<update::FirmwareImage>();
    std::copy(sent.begin(), sent.end(), image->ImageBuffer.begin());
    image->ImageLength = static_cast<std::uint32_t>(sent.size());

    std::vector<double> upload, ideal;
    for (int run = 0; run < kRuns; ++run) {
        upload.push_back(uploadSeconds(map, *image, sent, 0));
        ideal.push_back(idealSeconds(sent));
    }
    std::printf(
        "ROW\tupload 256 KiB, unthrottled pty\t%.1f\tms\tblocking stop-and-wait loop\t%.1f\t<= "
        "1.5x baseline\n",
        median(upload) * 1000, median(ideal) * 1000);

    // One run at the simulated rate: about 23 s.
    const double wire = static_cast<double>(sent.size()) * 10 / kSimulatedRate;
    const double slow = uploadSeconds(map, *image, sent, kSimulatedRate);
    std::printf(
        "ROW\tupload 256 KiB at 115200 bit/s\t%.2f\ts\twire time of the image\t%.2f\t<= 1.02x "
        "baseline\n",
        slow, wire);
    return 0;
}
