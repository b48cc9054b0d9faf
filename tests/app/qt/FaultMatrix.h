#pragma once
// The fault matrix's shared parts: a terminal whose firmware the test can tell to answer with
// chosen bytes, to flood the line or to pull its plug; and the checks every case ends with.
#include <atomic>
#include <deque>
#include <mutex>
#include <random>

#include "WindowFixture.h"
#include "tools/SettingsMode.h"

namespace faults {

using namespace std::chrono_literals;
using apptest::slurp;
using apptest::writeFile;

// The settings firmware, with faults switched in from the test's thread.
class FaultyTerminal : public sim::Mode {
  public:
    explicit FaultyTerminal(sim::SettingsOptions options = {}) : firmware_(std::move(options)) {}

    // The next request is answered with `bytes` instead of the firmware's answer.
    void answerNextWith(std::string bytes) {
        std::lock_guard lock(lock_);
        scripted_.push_back(std::move(bytes));
    }
    void unplugNow() {
        std::lock_guard lock(lock_);
        unplugAt_ = sim::Clock::now();
    }
    // One `chunk` every millisecond, `count` times, unasked; returns when the last is due.
    sim::Clock::time_point flood(std::string chunk, unsigned count) {
        std::lock_guard lock(lock_);
        floodChunk_ = std::move(chunk);
        floodCount_ = count;
        return sim::Clock::now() + count * 1ms;
    }
    unsigned scriptedAnswered() const { return answered_.load(); }
    sim::ParameterStore store() const { return firmware_.store(); }

    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        std::unique_lock lock(lock_);
        if (scripted_.empty() && pending_.empty()) {
            lock.unlock();
            firmware_.received(data, length, line);
            return;
        }
        pending_.append(reinterpret_cast<const char*>(data), length);
        for (std::size_t end;
             !scripted_.empty() && (end = pending_.find("End:")) != std::string::npos;) {
            pending_.erase(0, end + 4);
            line.send(scripted_.front());
            scripted_.pop_front();
            ++answered_;
        }
        if (!scripted_.empty()) return;
        // The script is used up: what follows its last request is the firmware's again.
        const std::string rest = std::exchange(pending_, {});
        lock.unlock();
        if (!rest.empty())
            firmware_.received(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size(),
                               line);
    }

    std::optional<sim::Clock::time_point> wakeAt() const override {
        std::lock_guard lock(lock_);
        if (unplugAt_ || floodCount_ != 0) return sim::Clock::now();
        // The engine sleeps until a wake-up it was told of: look again soon for a fault the test
        // switches in meanwhile.
        const auto soon = sim::Clock::now() + 5ms;
        const auto firmware = firmware_.wakeAt();
        return firmware && *firmware < soon ? *firmware : soon;
    }

    void tick(sim::Line& line) override {
        std::unique_lock lock(lock_);
        const auto now = line.now();
        if (unplugAt_ && *unplugAt_ <= now) {
            unplugAt_.reset();
            line.unplug();
        } else if (floodCount_ != 0) {
            for (unsigned i = 0; i < floodCount_; ++i) line.send(floodChunk_, i * 1ms);
            floodCount_ = 0;
        } else {
            lock.unlock();
            firmware_.tick(line);
        }
    }

  private:
    sim::SettingsMode firmware_;
    mutable std::mutex lock_;
    std::deque<std::string> scripted_;
    std::string pending_;  // a request being answered from the script
    std::optional<sim::Clock::time_point> unplugAt_;
    std::string floodChunk_;
    unsigned floodCount_ = 0;
    std::atomic<unsigned> answered_{0};
};

inline std::string garbage(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// The windows over the faulty terminal.
class TerminalFixture : public apptest::SimFixture<FaultyTerminal> {
  protected:
    // A Read refills the controls with what the terminal holds, and says nothing.
    void expectReadStillWorks() {
        const std::size_t before = messages.shown().size();
        form1->ETl[0]->setText("stale");
        form1->ReadTLBClick();
        ASSERT_TRUE(apptest::pumpUntil([&] {
            return form1->EGpsLongitude->text() == "03737.5678E";
        })) << "no answer to a Read";
        EXPECT_EQ(form1->ETl[0]->text().toStdString(), mode->store().value("Phone1"));
        EXPECT_EQ(messages.shown().size(), before);
    }
};

}  // namespace faults
