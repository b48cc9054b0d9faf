#pragma once
// A headless stand-in for the main window and the port settings window around a real TCommPort,
// so the upload runs end to end: the port's events arrive through the main-thread queue, Timer1
// and the record timer run on the steady clock, and pump() plays the event loop.
#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/MainThread.h"
#include "platform/SteadyTimer.h"
#include "serial/Commport.h"
#include "update/FirmwareUpload.h"

namespace testsupport {

// Timer1 and the record time-out on the steady clock, fired from pump(); the 5-second settle can
// be cut to nothing, so a run does not wait.
class SteadyTimer : public platform::SteadyTimer {
  public:
    int shortenInterval = -1;  // an interval of this length fires at the next pass
    void setInterval(int ms) override {
        platform::SteadyTimer::setInterval(ms == shortenInterval ? 0 : ms);
    }
};

class PortUploadHost : public update::UploadLink, public update::UploadEvents {
  public:
    PortUploadHost(int comNumber, const update::FirmwareImage& image)
        : upload(*this, *this, timer1, recordTimer, image) {
        platform::MainThread::adoptCurrentThread();
        timer1.shortenInterval = update::kLinkSettleMs;
        port.SetComNumber(comNumber);
        port.OnDataReceived = [this](TCommPort* p, std::uint32_t count) {
            // Each delivery overwrites the receive buffer from its first byte.
            receivedCount = p->GetBlock(reinterpret_cast<char*>(receiveBuffer.data()),
                                        std::min<std::uint32_t>(count, receiveBuffer.size()));
            if (receivedCount != 0 && upload.uploadRunning())
                upload.OnReception(receivedCount, receiveBuffer.data());
        };
        // The close must not run inside the port's own delivery.
        port.OnDeviceLost = [this](TCommPort*) { deferred_.push_back([this] { toggleLink(); }); };
    }
    ~PortUploadHost() override { port.SetOpen(false); }

    // Runs the event loop until `done` holds or `bound` has passed; returns whether it holds.
    bool pumpUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds bound = std::chrono::seconds(30)) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            platform::MainThread::drainFor(std::chrono::milliseconds(1));
            std::vector<std::function<void()>> calls;
            calls.swap(deferred_);
            for (auto& call : calls) call();
            timer1.fireIfDue();
            recordTimer.fireIfDue();
        }
        return true;
    }
    // BUpgrade pressed, then the loop runs until the upload is idle again.
    bool runUpload(std::chrono::milliseconds bound = std::chrono::seconds(60)) {
        firstWrite.reset();
        upload.BUpgradeClick();
        return pumpUntil([this] { return upload.state() == update::FirmwareUpload::State::Idle; },
                         bound);
    }

    // UploadLink
    bool isLinkOpen() const override { return port.Open(); }
    void toggleLink() override { port.SetOpen(!port.Open()), connectionChanged(); }
    bool writePort(const std::uint8_t* data, std::size_t n) override {
        if (!port.Open()) return false;
        if (!firstWrite) firstWrite = std::chrono::steady_clock::now();
        return port.PutBlock(reinterpret_cast<const char*>(data), static_cast<std::uint32_t>(n)) ==
               n;
    }
    void discardPendingInput() override { port.FlushInBuffer(); }
    unsigned lineRateBitsPerSecond() const override {
        return static_cast<unsigned>(port.GetBaud());
    }

    // UploadEvents, kept as the main window shows them
    void uploadStarted(std::size_t bytes) override {
        label56 = std::to_string(2 * bytes), upgradeEnabled = false;
    }
    void sendingBegun() override { progressLog.push_back(progress = 0), panel1Log.emplace_back(); }
    void recordAccepted(std::uint32_t acknowledged, std::size_t bytes) override {
        progressLog.push_back(progress = static_cast<int>(acknowledged * 100ull / bytes));
    }
    void uploadFinished(const update::UploadResult& r, std::uint32_t acknowledged) override {
        finishedAt = std::chrono::steady_clock::now();  // once, after the last answer
        if (r.outcome != update::UploadOutcome::NothingSent)
            panel1Log.push_back(update::statusText(r));
        progressLog.push_back(progress = 0);
        if (r.succeeded() || r.outcome == update::UploadOutcome::NothingSent)
            label57 = std::to_string(2ull * acknowledged);
    }
    void uploadIdle() override { upgradeEnabled = true; }

    // ConnectionChanged: a link that closed under a running upload ends it.
    void connectionChanged() {
        if (!port.Open()) upload.OnLinkLost();
    }
    std::string panel1() const { return panel1Log.empty() ? std::string() : panel1Log.back(); }

    TCommPort port;
    SteadyTimer timer1, recordTimer;
    update::FirmwareUpload upload;
    std::array<std::uint8_t, 4096> receiveBuffer{};
    std::uint16_t receivedCount = 0;
    int progress = 0;
    std::vector<int> progressLog;
    std::vector<std::string> panel1Log;
    std::string label56, label57;
    bool upgradeEnabled = true;
    std::optional<std::chrono::steady_clock::time_point> firstWrite;
    std::chrono::steady_clock::time_point finishedAt{};

  private:
    std::vector<std::function<void()>> deferred_;
};

}  // namespace testsupport
