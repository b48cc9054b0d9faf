// A long run against the simulated bootloader over a pty: many uploads with rejected records and
// lost answers, each on a terminal under a new device path. Every run ends in success, and the
// process holds as many files, threads and heap bytes afterwards as before. Short by default;
// VIGIL_SOAK_FULL=1 runs the full size (200 uploads of 64 KiB, 1 % rejected, 0.1 % lost).
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

#include "platform/RecordingMessageService.h"
#include "update/BootloaderTerminal.h"
#include "update/PortUploadHost.h"

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
#define VIGIL_SANITIZED 1
// The sanitizer's own allocator keeps the heap; its runtime tells how much is in use.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace std::chrono_literals;

namespace {

constexpr int kCom = 11;

bool fullSize() {
    const char* full = std::getenv("VIGIL_SOAK_FULL");
    return full && std::string(full) == "1";
}

std::size_t entriesIn(const char* folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

std::size_t heapInUse() {
#ifdef VIGIL_SANITIZED
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// What the process holds: compared before and after a soak.
struct Holdings {
    std::size_t fds, threads, heap;
    static Holdings now() {
        malloc_trim(0);
        return {entriesIn("/proc/self/fd"), entriesIn("/proc/self/task"), heapInUse()};
    }
};

void expectSameHoldings(const Holdings& before, const Holdings& after) {
    EXPECT_EQ(after.fds, before.fds);
    EXPECT_EQ(after.threads, before.threads);
    // A fixed slack for allocator bookkeeping and first-use caches, independent of the run length.
    EXPECT_LE(after.heap, before.heap + 256 * 1024);
}

class Soak : public ::testing::Test {
protected:
    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
};

TEST_F(Soak, UploadsWithRejectedRecordsAndLostAnswersAllEndAndLeakNothing) {
    const unsigned uploads = fullSize() ? 200 : 20;
    auto image = std::make_unique<update::FirmwareImage>();
    const std::vector<std::uint8_t> sent = testsupport::loadImage(*image, 64 * 1024);

    std::map<std::string, unsigned> outcomes;
    unsigned successes = 0, records = 0, failedAnswers = 0;
    {
        testsupport::PortUploadHost host(kCom, *image);
        host.port.SetBaudRate(cbr115200);  // the record time-out: about 1.2 s
        auto upload = [&](unsigned run) {
            sim::BootloaderOptions options;
            options.rejectRate = 0.01;
            options.lossRate = 0.001;
            options.seed = run + 1;
            testsupport::BootloaderTerminal terminal(map, kCom, options);  // back under a new path
            if (!host.runUpload(120s)) {
                ++outcomes["did not end"];
                return;
            }
            const std::string outcome = host.panel1();
            ++outcomes[outcome];
            records += terminal.boot.recordsReceived();
            failedAnswers += host.upload.FailureCount();
            if (outcome == update::kSuccessVersion01Text) {
                ++successes;
                EXPECT_EQ(terminal.boot.image(), sent) << "run " << run;
            }
            EXPECT_FALSE(host.port.Open());
            EXPECT_TRUE(host.upgradeEnabled);
            // The stand-in's logs are the test's, not the program's memory.
            host.progressLog = {};
            host.panel1Log = {};
        };
        upload(0);  // first use: the allocator's arenas, the map file, the code page tables
        const Holdings before = Holdings::now();
        for (unsigned run = 1; run <= uploads; ++run) upload(run);
        const Holdings after = Holdings::now();
        for (const auto& [outcome, n] : outcomes) std::cout << "  " << n << " x " << outcome << "\n";
        std::cout << "  " << records << " records sent, " << failedAnswers << " answers rejected or lost\n";
        expectSameHoldings(before, after);
    }
    EXPECT_EQ(outcomes.count("did not end"), 0u);
    // 64 records an upload: ten failed answers in one of them is far beyond these rates.
    EXPECT_EQ(successes, uploads + 1);
    EXPECT_TRUE(messages.shown().empty());
}

}  // namespace
