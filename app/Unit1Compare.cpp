#include "app/Unit1Compare.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "app/Unit1.h"
#include "app/UnitRecords.h"
#include "platform/Catalogue.h"
#include "platform/MessageService.h"
#include "platform/qt/QtTimer.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "ui/CompareDialog.h"

namespace app {

using protocol::Parameter;

Unit1Compare::Unit1Compare(TForm1& form, std::function<void(const session::ParameterSet&)> onTaken)
    : form_(form), onTaken_(std::move(onTaken)), dialog_(new ui::CompareDialog(form)) {
    dialog_->onWriteScreen = [this] { writeScreen(); };
    dialog_->onTakeTerminal = [this] { takeTerminal(); };
    setTimer(std::make_unique<platform::QtTimer>());
}

Unit1Compare::~Unit1Compare() = default;

void Unit1Compare::setTimer(std::unique_ptr<platform::Timer> timer) {
    timer_ = std::move(timer);
    timer_->setEnabled(false);
    timer_->onTimer = [this] { finish(); };
}

std::uint16_t Unit1Compare::maskOf(const std::vector<protocol::ValueMismatch>& differences) {
    std::vector<const Parameter*> params;
    for (const protocol::ValueMismatch& d : differences) params.push_back(d.parameter);
    return protocol::writeMaskOf(params);
}

// The Read's request, sent without emptying anything.
void Unit1Compare::start() {
    if (waiting_ || form_.uploadRunning()) return;
    const protocol::ComposedRequest request =
        protocol::composeRequest(form_.controls(), protocol::mask::Read, form_.TransmitBuffer);
    if (!request.ok || !form_.WritePort(form_.TransmitBuffer.data(), form_.TransmitBuffer.length()))
        return;
    terminal_ = protocol::ValueStore();
    recorder_.clear();
    waiting_ = true;
    answer_.emplace(session::everyParameter(), form_.TransmitBuffer.length(), form_.lineRate(),
                    session::Clock::now());
    answer_->waitOutPauses();  // the snapshot of a write or an upload must not be cut short
    platform::armAt(*timer_, answer_->deadline());
}

void Unit1Compare::startSnapshot(SnapshotDone done) {
    if (waiting_) {
        followers_.push_back(std::move(done));
        return;
    }
    snapshotDone_ = std::move(done);
    start();
    if (waiting_) return;
    auto failed = std::move(snapshotDone_);
    snapshotDone_ = nullptr;
    failed(nullptr, false);
}

void Unit1Compare::parse(const std::uint8_t* data, std::uint16_t count) {
    // The whole answer so far, so that an item cut between two receptions still counts.
    answer_->take(std::span(data, count), session::Clock::now());
    const std::string& answer = answer_->bytes();
    terminal_ = protocol::ValueStore();
    recorder_.clear();
    protocol::parseReception(reinterpret_cast<const std::uint8_t*>(answer.data()),
                             static_cast<std::uint16_t>(answer.size()), recorder_);
    if (recorder_.assigned().size() == protocol::kParameters.size())
        finish();
    else
        platform::armAt(*timer_, answer_->deadline());
}

void Unit1Compare::finish() {
    timer_->setEnabled(false);
    if (!waiting_) return;
    waiting_ = false;
    const session::ParameterSet& answered = recorder_.assigned();
    // Taken first: what runs below may ask for a read of its own.
    const std::vector<SnapshotDone> followers = std::exchange(followers_, {});
    std::optional<protocol::ValueStore> whole;
    if (answered.size() == protocol::kParameters.size()) whole = terminal_;
    const protocol::ValueStore* held = whole ? &*whole : nullptr;
    if (snapshotDone_)
        std::exchange(snapshotDone_, nullptr)(held, false);
    else
        showComparison();
    for (const SnapshotDone& follower : followers) follower(held, true);
}

void Unit1Compare::showComparison() {
    const session::ParameterSet& answered = recorder_.assigned();
    differences_.clear();
    if (!answered.empty()) {
        for (const Parameter& p : protocol::kParameters) {
            const Parameter* one[] = {&p};
            if (!answered.count(&p)) {
                const protocol::ValueSnapshot screen =
                    protocol::snapshotValues(form_.controls(), one);
                differences_.push_back(
                    {&p, screen.empty() ? std::string() : screen.front().value, std::nullopt});
                continue;
            }
            for (protocol::ValueMismatch& d :
                 protocol::compareValues(form_.controls(), terminal_, one))
                differences_.push_back(std::move(d));
        }
    }
    UnitRecords::instance().compared(terminal_, !answered.empty(), differences_);
    // The table is not modal; the box, asked for inside a port delivery, waits until it returns.
    if (answered.empty())
        platform::messages().show(
            form_.noAnswerText() + " " + platform::translated("TForm1", kCompareSilentText), "",
            platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    else
        dialog_->showDifferences(differences_, maskOf(differences_) != 0);
}

void Unit1Compare::writeScreen() {
    const std::uint16_t mask = maskOf(differences_);
    if (mask == 0) return;
    form_.RequestMask = mask;
    form_.SendRequest();
}

void Unit1Compare::takeTerminal() {
    std::vector<const Parameter*> replaced;
    for (const protocol::ValueMismatch& d : differences_)
        if (d.actual) replaced.push_back(d.parameter);
    if (onAskBeforeTaking && !onAskBeforeTaking(replaced)) {
        dialog_->show();  // the differences stay at hand
        return;
    }
    protocol::AssignmentRecorder taken(form_.controls());
    for (const protocol::ValueMismatch& d : differences_)
        if (d.actual) protocol::applyValue(taken, *d.parameter, *d.actual);
    if (terminal_.writeControlsEnabled()) form_.controls().enableWriteControls();
    if (onTaken_) onTaken_(taken.assigned());
}

}  // namespace app
