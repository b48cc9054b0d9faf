#include "app/Unit1Verify.h"

#include "app/Unit1.h"
#include "app/UnitRecords.h"
#include "platform/Catalogue.h"
#include "platform/MessageService.h"
#include "platform/qt/QtTimer.h"
#include "protocol/AssignmentRecorder.h"

namespace app {
namespace {

using protocol::Parameter;

std::string tabList(const std::set<int>& tabs) {
    std::string list;
    for (int tab : tabs) {
        if (!list.empty()) list += ", ";
        list += "\"" + protocol::tabCaption(tab) + "\"";
    }
    return list;
}

// " на вкладке "Телефоны"" or " на вкладках "Интернет", "Доступ"".
std::string onPages(const std::set<int>& tabs) {
    return (tabs.size() == 1 ? platform::translated("TForm1", " на вкладке ")
                             : platform::translated("TForm1", " на вкладках ")) +
           tabList(tabs);
}

// `silentText` tells a terminal that did not answer at all.
std::string messageOf(const session::WatchReport& r, const std::string& silentText) {
    std::string text;
    if (r.silent || !r.restoredTabs.empty())
        text = r.silent ? silentText : platform::translated("TForm1", kPartialText);
    if (!r.restoredTabs.empty())
        text += " " + platform::translated("TForm1", kRestoredText) + onPages(r.restoredTabs) + ".";
    if (!r.mismatches.empty()) {
        if (!text.empty()) text += "\n\n";
        text += platform::translated("TForm1", kNotTakenText);
        for (const protocol::ValueMismatch& m : r.mismatches)
            text += "\n" + protocol::mismatchLine(m);
    }
    return text;
}

}  // namespace

Unit1Verify::Unit1Verify(TForm1& form)
    : form_(form),
      watch_(form.controls()),
      marks_(form,
             [this](const Parameter* p) {
                 typedSinceAsked_.insert(p);
                 report(watch_.overwritten({p}));
             }),
      compare_(form, [this](const session::ParameterSet& taken) {
          settled(taken, watch_.overwritten(taken));
      }) {
    compare_.onAskBeforeTaking = [this](const std::vector<const Parameter*>& replaced) {
        return askBeforeLosing(Loss::Take, replaced) == platform::MessageResult::Discard;
    };
    setTimers(std::make_unique<platform::QtTimer>(), std::make_unique<platform::QtTimer>());
}

Unit1Verify::~Unit1Verify() = default;

void Unit1Verify::setTimers(std::unique_ptr<platform::Timer> answers,
                            std::unique_ptr<platform::Timer> compare) {
    timer_ = std::move(answers);
    timer_->setEnabled(false);
    timer_->onTimer = [this] { expire(); };
    compare_.setTimer(std::move(compare));
}

bool Unit1Verify::refusesWrite(std::uint16_t requestMask) const {
    return refusedWhileEmptied(protocol::parametersOfMask(requestMask));
}

void Unit1Verify::startCompare() {
    if (!refusedWhileEmptied(session::everyParameter())) compare_.start();
}

bool Unit1Verify::startSnapshot(Unit1Compare::SnapshotDone done) {
    if (refusedWhileEmptied(session::everyParameter())) return false;
    compare_.startSnapshot(std::move(done));
    return true;
}

bool Unit1Verify::refusedWhileEmptied(const std::vector<const Parameter*>& params) const {
    const std::set<int> tabs = watch_.stillEmptied(params);
    if (tabs.empty()) return false;
    platform::messages().show(platform::translated("TForm1", kNotYetText) + onPages(tabs) +
                                  platform::translated("TForm1", ". Запрос не отправлен."),
                              "", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    return true;
}

void Unit1Verify::emptyAndWatch(const protocol::ComposedRequest& request,
                                std::size_t requestBytes) {
    ++requestsSent_;
    echo_.expect(form_.TransmitBuffer.view().substr(0, requestBytes));
    for (const Parameter* p : session::AnswerWatch::answeredTo(request)) typedSinceAsked_.erase(p);
    const std::vector<const Parameter*> emptied = session::AnswerWatch::emptiedBy(request);
    const protocol::ValueSnapshot before = protocol::snapshotValues(form_.controls(), emptied);
    protocol::applyEmptying(form_.controls(), request);
    joiner_.forget();
    if (emptied.empty()) return;
    marks_.sent(request.sent);
    watch_.sent(request, before, requestBytes, form_.lineRate(), session::Clock::now());
    platform::armAt(*timer_, watch_.deadline());
}

void Unit1Verify::parseReception(const std::uint8_t* data, std::uint16_t count) {
    const std::string answer = echo_.pass(std::span(data, count));
    data = reinterpret_cast<const std::uint8_t*>(answer.data());
    count = static_cast<std::uint16_t>(answer.size());
    if (count == 0) return;
    if (compare_.waiting()) {
        joiner_.forget();
        compare_.parse(data, count);
        return;
    }
    watch_.heard(std::span(data, count), session::Clock::now());
    platform::armAt(*timer_, watch_.deadline());
    // What the operator typed after the request went out is newer than its answer: it stays.
    const std::vector<const Parameter*> typed(typedSinceAsked_.begin(), typedSinceAsked_.end());
    const protocol::ValueSnapshot kept = protocol::snapshotValues(form_.controls(), typed);
    protocol::AssignmentRecorder recorder(form_.controls());
    joiner_.parse(std::span(data, count), recorder);
    session::ParameterSet assigned;
    for (const Parameter* p : recorder.assigned())
        if (!typedSinceAsked_.count(p)) assigned.insert(p);
    if (assigned.size() != recorder.assigned().size())
        protocol::restoreValues(form_.controls(), kept, {});
    if (assigned.empty()) return;
    const session::WatchReport answered = watch_.answered(assigned);
    recordAnswer(form_, assigned, answered, !watch_.waiting());
    settled(assigned, answered, true);
}

void Unit1Verify::loadFile(const std::function<void(protocol::ControlAccess&)>& apply) {
    protocol::AssignmentRecorder recorder(form_.controls());
    try {
        apply(recorder);
    } catch (...) {
        settled(recorder.assigned(), watch_.overwritten(recorder.assigned()));
        throw;
    }
    settled(recorder.assigned(), watch_.overwritten(recorder.assigned()));
}

void Unit1Verify::restoreValues(const std::function<void(protocol::ControlAccess&)>& apply) {
    protocol::AssignmentRecorder recorder(form_.controls());
    apply(recorder);
    settled(recorder.assigned(), watch_.overwritten(recorder.assigned()));
    for (const Parameter* p : recorder.assigned())
        if (!p->writeKey.empty()) marks_.edited(p);
}

bool Unit1Verify::confirmErase() {
    return platform::messages().show(
               platform::translated("TForm1", kEraseQuestion), "", platform::MessageIcon::Warning,
               platform::MessageButtons::OkCancel) == platform::MessageResult::Ok;
}

platform::MessageResult Unit1Verify::askBeforeLosing(
    Loss loss, std::span<const Parameter* const> params) const {
    std::set<int> tabs;
    for (const Parameter* p : marks_.editedOf(params)) tabs.insert(p->tab);
    if (tabs.empty()) return platform::MessageResult::Discard;
    const char* question =
        loss == Loss::Close ? QT_TRANSLATE_NOOP("TForm1", "Записать их в терминал перед выходом?")
        : loss == Loss::Open
            ? QT_TRANSLATE_NOOP("TForm1", "Открыть файл, не записывая их?")
            : QT_TRANSLATE_NOOP("TForm1", "Взять значения терминала, не записывая их?");
    const auto answer =
        platform::messages().show(platform::translated("TForm1", kUnwrittenText) + tabList(tabs) +
                                      ".\n" + platform::translated("TForm1", question),
                                  "", platform::MessageIcon::Warning,
                                  loss == Loss::Close ? platform::MessageButtons::WriteDiscardCancel
                                                      : platform::MessageButtons::DiscardCancel);
    const bool chosen = answer == platform::MessageResult::Discard ||
                        (loss == Loss::Close && answer == platform::MessageResult::Write);
    return chosen ? answer : platform::MessageResult::Cancel;
}

std::uint16_t Unit1Verify::editedWriteMask() const {
    const std::vector<const Parameter*> all = session::everyParameter();
    return protocol::writeMaskOf(marks_.editedOf(all));
}

void Unit1Verify::expire() {
    timer_->setEnabled(false);
    const session::WatchReport overdue = watch_.expire();
    UnitRecords::instance().expired(form_.controls(), overdue);
    report(overdue, true);
}

void Unit1Verify::settled(const session::ParameterSet& assigned, const session::WatchReport& r,
                          bool fromTerminal) {
    // A file or the terminal's values taken are the operator's doing, as typing is.
    if (!fromTerminal) typedSinceAsked_.insert(assigned.begin(), assigned.end());
    marks_.settled(assigned);
    report(r, fromTerminal);
}

void Unit1Verify::report(const session::WatchReport& r, bool fromTerminal) {
    if (!watch_.waiting()) timer_->setEnabled(false);
    for (const protocol::ValueMismatch& m : r.mismatches) marks_.notTaken(m);
    if (!r.confirmedTabs.empty())
        form_.setPanelText(1,
                           QString::fromStdString(platform::translated("TForm1", kConfirmedText) +
                                                  tabList(r.confirmedTabs)));
    else if (!r.mismatches.empty())
        form_.setPanelText(
            1, QString::fromStdString(platform::translated("TForm1", kNotConfirmedText)));
    if (onReport) onReport(r, watch_.waiting(), fromTerminal);
    const std::string text = messageOf(r, r.silent ? form_.noAnswerText() : "");
    // Last: the box's nested loop (or, inside a port delivery, its deferral) finds every state
    // already updated.
    if (!text.empty())
        platform::messages().show(text, "", platform::MessageIcon::Warning,
                                  platform::MessageButtons::Ok);
}

}  // namespace app
