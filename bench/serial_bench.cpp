// The port component over a pty pair against plain blocking I/O on the same pty, in one run:
// receive latency, stop-and-wait rounds, idle CPU time, open/close cycle; and the two hops the
// component's contract puts on every delivery (a signal from one thread to another, the blocking
// hand-over to the main thread), each beside the blocking read() it stands against.
// Prints "ROW\tfigure\tvalue\tunit\tbaseline\tbaseline value\ttarget" rows.
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/MainThread.h"
#include "platform/Signal.h"
#include "serial/Commport.h"
#include "support/MainPump.h"
#include "support/PtyPair.h"

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr int kLatencySamples = 1000;
constexpr int kRounds = 250;
constexpr std::size_t kBlock = 1044;
constexpr int kCycles = 50;

double us(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

double percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

double cpuMs() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
           (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

void row(const char* figure, double value, const char* unit, const char* baseline, double baseValue,
         const char* target) {
    std::printf("ROW\t%s\t%.1f\t%s\t%s\t%.1f\t%s\n", figure, value, unit, baseline, baseValue,
                target);
    std::fflush(stdout);
}

int openBlocking(const std::string& path) {
    return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
}

void readExactly(int fd, std::size_t n) {
    char buf[2048];
    while (n > 0) {
        const ssize_t r = ::read(fd, buf, std::min(n, sizeof buf));
        if (r <= 0) return;
        n -= static_cast<std::size_t>(r);
    }
}

void writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        const ssize_t r = ::write(fd, p, n);
        if (r <= 0) return;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
}

// The peer: for every block it reads, one answer byte.
class Answerer {
  public:
    explicit Answerer(int master) : master_(::dup(master)) {
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) & ~O_NONBLOCK);
        thread_ = std::thread([this] {
            for (int i = 0; i < rounds_; ++i) {
                readExactly(master_, kBlock);
                writeAll(master_, "\x11", 1);
            }
        });
    }
    ~Answerer() {
        thread_.join();
        ::close(master_);
    }

  private:
    int master_;
    int rounds_ = kRounds;
    std::thread thread_;
};

struct Bench {
    testsupport::ComPortMapFile map;
    testsupport::PtyPair pty;
    TCommPort port;
    std::atomic<std::uint32_t> received{0};

    Bench() {
        map.map(pty.slavePath(), 1);
        port.OnDataReceived = [this](TCommPort* p, std::uint32_t count) {
            char buf[4096];
            received += p->GetBlock(buf, std::min<std::uint32_t>(count, sizeof buf));
        };
    }

    // The baseline of the receive figures: one byte written by the far end, read by a blocking
    // read() of the same pty.
    std::vector<double> plainReads() {
        std::vector<double> plain;
        const int fd = openBlocking(pty.slavePath());
        for (int i = 0; i < kLatencySamples; ++i) {
            const auto t0 = Clock::now();
            pty.write("x");
            readExactly(fd, 1);
            plain.push_back(us(Clock::now() - t0));
        }
        ::close(fd);
        return plain;
    }

    void latency() {
        const std::vector<double> plain = plainReads();
        std::vector<double> component;
        port.SetOpen(true);
        for (int i = 0; i < kLatencySamples; ++i) {
            received = 0;
            const auto t0 = Clock::now();
            pty.write("x");
            testsupport::pumpUntil([&] { return received >= 1; });
            component.push_back(us(Clock::now() - t0));
        }
        port.SetOpen(false);
        row("receive latency median", percentile(component, 0.5), "us", "blocking read() median",
            percentile(plain, 0.5), "<= 50 us");
        row("receive latency p99", percentile(component, 0.99), "us", "blocking read() p99",
            percentile(plain, 0.99), "-");
    }

    // A thread wakes another through a signal and waits for the answer the same way (half the
    // ping-pong is the hop); and the path of a delivery once the bytes are in the ring: a signal
    // wakes a worker, which hands a call to the main thread and waits for its return.
    void hops() {
        const std::vector<double> plain = plainReads();
        std::vector<double> signal, handover;
        {
            platform::Signal ping{platform::Signal::Reset::Automatic};
            platform::Signal pong{platform::Signal::Reset::Automatic};
            std::thread peer([&] {
                for (int i = 0; i < kLatencySamples; ++i) {
                    ping.wait();
                    pong.set();
                }
            });
            for (int i = 0; i < kLatencySamples; ++i) {
                const auto t0 = Clock::now();
                ping.set();
                pong.wait();
                signal.push_back(us(Clock::now() - t0) / 2);
            }
            peer.join();
        }
        {
            platform::Signal go{platform::Signal::Reset::Automatic};
            int done = 0;
            std::thread worker([&] {
                for (int i = 0; i < kLatencySamples; ++i) {
                    go.wait();
                    platform::MainThread::synchronize([&] { ++done; });
                }
            });
            for (int i = 0; i < kLatencySamples; ++i) {
                const auto t0 = Clock::now();
                go.set();
                testsupport::pumpUntil([&] { return done > i; });
                handover.push_back(us(Clock::now() - t0));
            }
            worker.join();
        }
        row("one signal hop between threads median", percentile(signal, 0.5), "us",
            "blocking read() median", percentile(plain, 0.5), "-");
        row("signal, then hand-over to the main thread", percentile(handover, 0.5), "us",
            "blocking read() median", percentile(plain, 0.5), "-");
    }

    void stopAndWait() {
        const std::string block(kBlock, 'B');
        double plainMs, componentMs;
        {
            const int fd = openBlocking(pty.slavePath());
            Answerer peer(pty.master());
            const auto t0 = Clock::now();
            for (int i = 0; i < kRounds; ++i) {
                writeAll(fd, block.data(), block.size());
                readExactly(fd, 1);
            }
            plainMs = us(Clock::now() - t0) / 1e3;
            ::close(fd);
        }
        port.SetOpen(true);
        {
            Answerer peer(pty.master());
            const auto t0 = Clock::now();
            for (int i = 0; i < kRounds; ++i) {
                received = 0;
                port.PutBlock(block.data(), static_cast<std::uint32_t>(block.size()));
                testsupport::pumpUntil([&] { return received >= 1; });
            }
            componentMs = us(Clock::now() - t0) / 1e3;
        }
        port.SetOpen(false);
        row("stop-and-wait 250 x 1044 B", componentMs, "ms", "blocking write()/read()", plainMs,
            "<= 2x baseline");
    }

    // The main thread sleeps as an idle event loop would; only the port's threads can use CPU.
    void idle(std::chrono::seconds period) {
        double c0 = cpuMs();
        std::this_thread::sleep_for(period);
        const double closed = cpuMs() - c0;
        port.SetOpen(true);
        c0 = cpuMs();
        std::this_thread::sleep_for(period);
        const double open = cpuMs() - c0;
        port.SetOpen(false);
        const std::string figure = "idle CPU, port open " + std::to_string(period.count()) + " s";
        row(figure.c_str(), open, "ms", "port closed, same period", closed, "<= 10 ms");
    }

    void openClose() {
        std::vector<double> plain, component;
        for (int i = 0; i < kCycles; ++i) {
            const auto t0 = Clock::now();
            ::close(::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
            plain.push_back(us(Clock::now() - t0) / 1e3);
        }
        for (int i = 0; i < kCycles; ++i) {
            const auto t0 = Clock::now();
            port.SetOpen(true);
            port.SetOpen(false);
            component.push_back(us(Clock::now() - t0) / 1e3);
        }
        row("open/close cycle median", percentile(component, 0.5), "ms", "open()/close() median",
            percentile(plain, 0.5), "<= 5 ms");
    }
};

}  // namespace

int main(int argc, char** argv) {
    platform::MainThread::adoptCurrentThread();
    // The idle period may be shortened for a quick look: serial_bench <seconds>.
    const int idleSeconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    Bench b;
    b.latency();
    b.hops();
    b.stopAndWait();
    b.openClose();
    b.idle(std::chrono::seconds(idleSeconds));
    return 0;
}
