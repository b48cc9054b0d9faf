// An answer that comes late, to an earlier request, is never taken for the answer to the current
// one: before a request the program waits for a quiet line, and a write whose answer disagrees is
// confirmed by a read before it is reported as differing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliFixture.h"

using testsupport::SimulatedLine;
using ::testing::HasSubstr;

namespace {

constexpr int kCom = 9;
const std::string kPort = "COM9";

// A whole configuration file, every writable value given.
const std::string kTemplate =
    "TL1=111:TL2=222:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:TL9=999:Sms1En=1:Sms2En=0:Sms3En=0:"
    "Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:Sms8En=0:Voice1En=0:Voice2En=0:Voice3En=0:"
    "Voice4En=0:Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=1:Ip1=10.1.1.1:Port1=7000:"
    "Ip2=:Port2=:Ip3=:Port3=:Ip4=:Port4=:CONT1=5:CONT2=5:CONT3=5:CONT4=5:GET1=1:GET2=0:"
    "GET3=0:GET4=1:NmbPress=1:Coord=2:Ip1En=1:Ip2En=0:Ip3En=0:Ip4En=0:Apn=new.apn:Aus=u:"
    "Apas=p:BlSt=*102#:BlTm=60:REG=C:";

// The answer a terminal holding `store` gives to a read.
std::string readAnswerOf(const sim::ParameterStore& store) {
    struct Capture : sim::Line {
        void send(std::string bytes, sim::Clock::duration) override { sent += bytes; }
        void unplug() override {}
        sim::Clock::time_point now() const override { return sim::Clock::now(); }
        std::string sent;
    } capture;
    sim::SettingsMode terminal({}, store);
    const std::string read = "$Pass=Vostel:End:";
    terminal.received(reinterpret_cast<const std::uint8_t*>(read.data()), read.size(), capture);
    return capture.sent;
}

// The settings firmware on a line that still carries `stale`, the answer to an earlier read:
// it arrives shortly after the program opens the line (the terminal itself answers late), or
// just ahead of the answer to the first write (which then follows a second later).
class LateLine : public sim::Mode, private sim::Line {
  public:
    enum class When { AfterOpen, BeforeFirstWriteAnswer };
    LateLine(When when, sim::SettingsOptions options, const sim::ParameterStore& store, std::string stale)
        : settings(options, store), when_(when), stale_(std::move(stale)) {}

    void linkOpened(sim::Line& line) override {
        if (when_ == When::AfterOpen) line.send(stale_, std::chrono::milliseconds(100));
    }
    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        line_ = &line;
        heard_.append(reinterpret_cast<const char*>(data), length);
        if (when_ == When::BeforeFirstWriteAnswer && !staleSent_ && heard_.find("TL1=") != std::string::npos) {
            line.send(stale_);
            staleSent_ = true;
            hold_ = std::chrono::seconds(1);
        }
        settings.received(data, length, *this);
    }
    sim::SettingsMode settings;

  private:
    void send(std::string bytes, sim::Clock::duration delay) override {
        line_->send(std::move(bytes), delay + std::exchange(hold_, sim::Clock::duration::zero()));
    }
    void unplug() override { line_->unplug(); }
    sim::Clock::time_point now() const override { return line_->now(); }

    When when_;
    std::string stale_;
    std::string heard_;
    bool staleSent_ = false;
    sim::Clock::duration hold_{};
    sim::Line* line_ = nullptr;
};

class LateAnswers : public testsupport::CliTest {
  protected:
    LateAnswers() {
        now.set(*protocol::byControl("EApn1"), "new.apn");
        before.set(*protocol::byControl("EApn1"), "old.apn");
    }
    sim::ParameterStore now, before;
};

TEST_F(LateAnswers, AnAnswerLeftOnTheLineIsNotTakenForTheReadsOwn) {
    sim::SettingsOptions slow;
    slow.answerDelayMs = 200;
    LateLine terminal(LateLine::When::AfterOpen, slow, now, readAnswerOf(before));
    SimulatedLine line(map, kCom, terminal);
    const auto result = testsupport::runVigil({"read", "--port", kPort});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Apn=new.apn:"));
}

TEST_F(LateAnswers, AWriteStoredIsNotReportedAsDifferingForALateAnswer) {
    LateLine terminal(LateLine::When::BeforeFirstWriteAnswer, {}, before, readAnswerOf(before));
    SimulatedLine line(map, kCom, terminal);
    writeFile("new.abt", kTemplate);
    const auto result = testsupport::runVigil({"write", "--port", kPort, path("new.abt")});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    EXPECT_EQ(terminal.settings.store().value("Apn"), "new.apn");
}

}  // namespace
