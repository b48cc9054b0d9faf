#pragma once
// The fault matrix's shared parts: a terminal whose firmware the test can tell to answer with
// chosen bytes, to flood the line or to pull its plug; and the checks every case ends with.
#include <atomic>
#include <cstdlib>
#include <deque>
#include <mutex>

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
    // The line closes `after` the next scripted answer went out.
    void unplugAfterAnswer(sim::Clock::duration after) {
        std::lock_guard lock(lock_);
        unplugDelay_ = after;
    }
    void unplugNow() {
        std::lock_guard lock(lock_);
        unplugAt_ = sim::Clock::now();
    }
    // One `chunk` every millisecond, `count` times, unasked.
    void flood(std::string chunk, unsigned count) {
        std::lock_guard lock(lock_);
        floodChunk_ = std::move(chunk);
        floodLeft_ = count;
        nextFlood_ = sim::Clock::now();
    }
    bool flooding() const {
        std::lock_guard lock(lock_);
        return floodLeft_ != 0;
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
        for (std::size_t end; !scripted_.empty() && (end = pending_.find("End:")) != std::string::npos;) {
            pending_.erase(0, end + 4);
            line.send(scripted_.front());
            scripted_.pop_front();
            ++answered_;
            if (unplugDelay_) unplugAt_ = line.now() + *std::exchange(unplugDelay_, std::nullopt);
        }
        if (!scripted_.empty()) return;
        // The script is used up: what follows its last request is the firmware's again.
        const std::string rest = std::exchange(pending_, {});
        lock.unlock();
        if (!rest.empty()) firmware_.received(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size(), line);
    }

    std::optional<sim::Clock::time_point> wakeAt() const override {
        std::lock_guard lock(lock_);
        if (unplugAt_) return unplugAt_;
        if (floodLeft_ != 0) return nextFlood_;
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
        } else if (floodLeft_ != 0 && nextFlood_ <= now) {
            line.send(floodChunk_);
            --floodLeft_;
            nextFlood_ += 1ms;
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
    std::optional<sim::Clock::duration> unplugDelay_;
    std::string floodChunk_;
    unsigned floodLeft_ = 0;
    sim::Clock::time_point nextFlood_{};
    std::atomic<unsigned> answered_{0};
};

// Whether the file is well-formed XML in the encoding it declares.
inline bool xmlParses(const std::filesystem::path& p) {
    return std::system(("xmllint --noout '" + p.string() + "' 2>/dev/null").c_str()) == 0;
}

// File > Save into the test's folder: the export parses, or the save was refused with one
// message and wrote nothing.
template <class Base>
class SaveCheck : public Base {
protected:
    void expectSaveKeepsXmlSound() {
        const std::size_t before = this->messages.shown().size();
        const auto xml = this->folder.path() / "SettingsAbt.xml";
        std::filesystem::remove(xml);
        this->dialogs->answers.push_back((this->folder.path() / "answer").string());
        this->form1->Save1Click();
        const std::size_t said = this->messages.shown().size() - before;
        if (std::filesystem::exists(xml)) {
            EXPECT_EQ(said, 0u) << this->messages.texts().back();
            EXPECT_TRUE(xmlParses(xml)) << slurp(xml);
        } else {
            EXPECT_EQ(said, 1u);
            EXPECT_FALSE(std::filesystem::exists(this->folder.path() / "answer.abt"));
        }
    }
};

// The windows over the faulty terminal.
class TerminalFixture : public SaveCheck<apptest::SimFixture<FaultyTerminal>> {
protected:
    // A Read refills the controls with what the terminal holds, and says nothing.
    void expectReadStillWorks() {
        const std::size_t before = messages.shown().size();
        form1->ETl[0]->setText("stale");
        form1->ReadTLBClick();
        ASSERT_TRUE(apptest::pumpUntil([&] { return form1->EGpsLongitude->text() == "03737.5678E"; }))
            << "no answer to a Read";
        EXPECT_EQ(form1->ETl[0]->text().toStdString(), mode->store().value("Phone1"));
        EXPECT_EQ(messages.shown().size(), before);
    }
};

}  // namespace faults
