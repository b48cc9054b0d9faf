// Long runs against the simulated terminal over a pty: many uploads with rejected records and
// lost answers, and many write/read cycles of the settings. Every run ends in success or a
// counted failure, and the process holds as many files, threads and heap bytes afterwards as
// before. Short by default; VIGIL_SOAK_FULL=1 runs the full size (200 uploads of 64 KiB with 1 %
// rejected records and 0.1 % lost answers, and 1000 write/read cycles).
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <vector>

#include "platform/RecordingMessageService.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "support/MainPump.h"
#include "support/MapControls.h"
#include "support/PtyPair.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "tools/SettingsMode.h"
#include "tools/Simulator.h"
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

std::size_t residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
    return 0;
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
    std::size_t fds, threads, heap, rssKiB;
    static Holdings now() {
        malloc_trim(0);
        return {entriesIn("/proc/self/fd"), entriesIn("/proc/self/task"), heapInUse(),
                residentKiB()};
    }
};

void expectSameHoldings(const Holdings& before, const Holdings& after) {
    std::cout << "  fds " << before.fds << " -> " << after.fds << ", threads " << before.threads
              << " -> " << after.threads << ", heap " << before.heap << " -> " << after.heap
              << " bytes, VmRSS " << before.rssKiB << " -> " << after.rssKiB << " KiB\n";
    EXPECT_EQ(after.fds, before.fds);
    EXPECT_EQ(after.threads, before.threads);
    // A fixed slack for allocator bookkeeping and first-use caches, independent of the run length.
    EXPECT_LE(after.heap, before.heap + 256 * 1024);
}

void printCounts(const char* what, const std::map<std::string, unsigned>& outcomes) {
    std::cout << what << ":\n";
    for (const auto& [outcome, n] : outcomes) std::cout << "  " << n << " x " << outcome << "\n";
}

// The flashed image with each record that came twice in a row kept once: a lost answer sends its
// record again, and with no sequence number the bootloader writes it twice. The soak's records all
// differ, so only such repeats collapse.
std::vector<std::uint8_t> withoutRepeats(const std::vector<std::uint8_t>& flashed) {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> previous;
    for (std::size_t pos = 0; pos + 2 <= flashed.size();) {
        const std::size_t n =
            std::min<std::size_t>(flashed[pos] * 256u + flashed[pos + 1] + 2, flashed.size() - pos);
        std::vector<std::uint8_t> record(flashed.begin() + static_cast<long>(pos),
                                         flashed.begin() + static_cast<long>(pos + n));
        if (record != previous) out.insert(out.end(), record.begin(), record.end());
        previous = std::move(record);
        pos += n;
    }
    return out;
}

class Soak : public ::testing::Test {
  protected:
    platform::RecordingMessageService messages;
    testsupport::ComPortMapFile map;
};

TEST_F(Soak, UploadsWithRejectedRecordsAndLostAnswersAllEndAndLeakNothing) {
    const unsigned uploads = fullSize() ? 200 : 20;
    auto image = std::make_unique<update::FirmwareImage>();
    std::vector<std::uint8_t> payload(64 * 1024);
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    const std::vector<std::uint8_t> sent = sim::makeImage(payload);
    std::copy(sent.begin(), sent.end(), image->ImageBuffer.begin());
    image->ImageLength = static_cast<std::uint32_t>(sent.size());

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
                EXPECT_EQ(withoutRepeats(terminal.boot.image()), sent) << "run " << run;
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
        printCounts("uploads", outcomes);
        std::cout << "  " << records << " records sent, " << failedAnswers
                  << " answers rejected or lost\n";
        expectSameHoldings(before, after);
    }
    EXPECT_EQ(outcomes.count("did not end"), 0u);
    // 64 records an upload: ten failed answers in one of them is far beyond these rates.
    EXPECT_EQ(successes, uploads + 1);
    EXPECT_TRUE(messages.shown().empty());
}

// The settings side: write the phones, read everything back, check the answers byte for byte
// and the values they carry. Every 100 cycles the terminal comes back under a new device path
// and the port is opened again (a terminal of its own keeps its request log out of the count).
TEST_F(Soak, WriteReadCyclesAllAnswerExactlyAndLeakNothing) {
    const unsigned cycles = fullSize() ? 1000 : 100;
    platform::MainThread::adoptCurrentThread();
    TCommPort port;
    port.SetComNumber(kCom);
    port.SetBaudRate(cbr115200);
    std::string received;
    port.OnDataReceived = [&](TCommPort* p, std::uint32_t count) {
        std::string chunk(count, '\0');
        chunk.resize(p->GetBlock(chunk.data(), count));
        received += chunk;
    };

    std::map<std::string, unsigned> outcomes;
    // Sends the request of `mask`; true when the terminal's answer came whole and exact.
    auto exchange = [&](sim::SettingsMode& firmware, test::MapControls& controls,
                        std::uint16_t mask) {
        protocol::TransmitBuffer buffer;
        const protocol::ComposedRequest request = protocol::composeRequest(controls, mask, buffer);
        if (!request.ok) return ++outcomes["refused: " + request.message], false;
        received.clear();
        const std::size_t requests = firmware.requests().size() + 1;
        if (port.PutBlock(reinterpret_cast<const char*>(buffer.data()), buffer.length()) !=
            buffer.length())
            return ++outcomes["not sent"], false;
        if (!testsupport::pumpUntil([&] { return firmware.requests().size() == requests; }))
            return ++outcomes["request lost"], false;
        // The terminal logs a request before it stores its values, and answers after: the
        // answer is right once it is what the store holds now.
        std::string expected;
        auto answerMatches = [&] {
            const sim::ParameterStore store = firmware.store();
            expected.clear();
            if (mask == protocol::mask::Read) {
                for (const protocol::Parameter& p : protocol::kParameters)
                    expected += store.answerItem(p);
            } else {
                for (const protocol::Parameter* p : request.sent) expected += store.answerItem(*p);
            }
            return received == expected;
        };
        if (!testsupport::pumpUntil(answerMatches)) {
            const auto at =
                std::mismatch(received.begin(), received.end(), expected.begin(), expected.end());
            ADD_FAILURE() << "answer differs at " << (at.first - received.begin()) << " of "
                          << expected.size() << " (got " << received.size() << "):\n"
                          << received << "\n"
                          << expected;
            return ++outcomes[received.size() < expected.size() ? "answer incomplete"
                                                                : "answer differs"],
                   false;
        }
        return true;
    };
    auto cycle = [&](sim::SettingsMode& firmware, unsigned n) {
        test::MapControls controls;
        const std::string phone = "+7900" + std::to_string(1000000 + n);
        controls.setText("ETl1", phone);
        controls.setText("ETl9", std::to_string(n));
        controls.setChecked("ChSim1ForP1", n % 2 == 0);
        if (!exchange(firmware, controls, protocol::mask::Phones)) return;
        test::MapControls readBack;
        if (!exchange(firmware, readBack, protocol::mask::Read)) return;
        protocol::parseReception(reinterpret_cast<const std::uint8_t*>(received.data()),
                                 static_cast<std::uint16_t>(received.size()), readBack);
        if (readBack.text("ETl1") != phone || readBack.text("ETl9") != std::to_string(n) ||
            readBack.checked("ChSim1ForP1") != (n % 2 == 0))
            return void(++outcomes["values differ"]);
        ++outcomes["ok"];
    };
    // Cycles first..last on a terminal of their own.
    auto block = [&](unsigned first, unsigned last) {
        sim::SettingsMode firmware;
        sim::Simulator engine(firmware);
        const std::string path = engine.createPty();
        ASSERT_FALSE(path.empty());
        map.map(path, kCom);
        engine.start();
        port.SetOpen(true);
        ASSERT_TRUE(port.IsEnabled());
        for (unsigned n = first; n <= last; ++n) cycle(firmware, n);
        port.SetOpen(false);
    };

    block(0, 0);  // first use
    const Holdings before = Holdings::now();
    for (unsigned first = 1; first <= cycles; first += 100)
        block(first, std::min(cycles, first + 99));
    const Holdings after = Holdings::now();
    printCounts("write/read cycles", outcomes);
    expectSameHoldings(before, after);
    EXPECT_EQ(outcomes["ok"], cycles + 1);
    port.OnDataReceived = nullptr;
}

}  // namespace
