// read, write, monitor and upload end to end: the vigil program against the simulated terminal
// over a pty, checked against the file, request and monitor texts the terminal's protocol fixes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliFixture.h"
#include "support/EchoingLine.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"
#include "update/FirmwareUpload.h"

using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::runVigil;
using testsupport::SettingsTerminal;
using testsupport::SimulatedLine;

namespace {

constexpr int kCom = 7;
const std::string kPort = "COM7";

const protocol::Parameter& byName(std::string_view name) {
    for (const protocol::Parameter& p : protocol::kParameters)
        if (p.name == name) return p;
    throw std::logic_error("no such parameter");
}

// A configuration file as File -> Save writes one; no text is longer than 8 bytes.
const std::string kTemplate =
    "TL1=111:TL2=222:TL3=:TL4=:TL5=:TL6=:TL7=:TL8=:TL9=999:Sms1En=1:Sms2En=0:Sms3En=0:"
    "Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:Sms8En=0:Voice1En=0:Voice2En=0:Voice3En=0:"
    "Voice4En=0:Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=1:Ip1=10.1.1.1:Port1=7000:"
    "Ip2=:Port2=:Ip3=:Port3=:Ip4=:Port4=:CONT1=5:CONT2=5:CONT3=5:CONT4=5:GET1=1:GET2=0:"
    "GET3=0:GET4=1:NmbPress=1:Coord=2:Ip1En=1:Ip2En=0:Ip3En=0:Ip4En=0:Apn=apn.ru:Aus=u:"
    "Apas=p:BlSt=*102#:BlTm=60:REG=C:";

class TerminalCommands : public testsupport::CliTest {};

// The settings firmware, but its answers to writes (or, `inReads`, to reads, the answers that
// carry IDCOD=) leave out the items of `dropped`; with `repeatAfter`, each answer comes again
// that much later.
class ForgetfulTerminal : public sim::Mode, private sim::Line {
  public:
    ForgetfulTerminal(const sim::SettingsOptions& options, std::vector<std::string> dropped,
                      bool inReads, sim::Clock::duration repeatAfter = {})
        : settings(options),
          dropped_(std::move(dropped)),
          inReads_(inReads),
          repeatAfter_(repeatAfter) {}
    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        line_ = &line;
        settings.received(data, length, *this);
    }
    sim::SettingsMode settings;

  private:
    void send(std::string bytes, sim::Clock::duration delay) override {
        const bool readAnswer = bytes.find("IDCOD=") != std::string::npos;
        for (const std::string& key : dropped_)
            if (const std::size_t at = bytes.find(key);
                at != std::string::npos && readAnswer == inReads_)
                bytes.erase(at, bytes.find(':', at) + 1 - at);
        if (repeatAfter_ != sim::Clock::duration::zero()) line_->send(bytes, delay + repeatAfter_);
        line_->send(std::move(bytes), delay);
    }
    void unplug() override { line_->unplug(); }
    sim::Clock::time_point now() const override { return line_->now(); }

    std::vector<std::string> dropped_;
    bool inReads_;
    sim::Clock::duration repeatAfter_;
    sim::Line* line_ = nullptr;
};

TEST_F(TerminalCommands, ReadGivesTheFileAsSaveWritesItAndJsonByName) {
    sim::ParameterStore store;
    store.set(byName("Apn"), cp1251("интернет"));
    store.set(byName("MicSensitivity"), "A");
    store.set(byName("GpsSleepMode"), "4");
    SettingsTerminal terminal(map, kCom, {}, store);
    // At 9600 bit/s the answer arrives in many receptions; each on its own would lose the items
    // cut at its ends.
    SettingsTerminal trickling(map, kCom + 1, {}, store, 9600);

    // The file format: 53 items, keys in this letter case and order, cp1251 texts, the
    // press count as its item index, the track bar as one hex digit.
    const std::string expected =
        "TL1=+79161234501:TL2=+79161234502:TL3=+79035550103:TL4=:TL5=:TL6=:TL7=:TL8=:"
        "TL9=+79031112233:Sms1En=1:Sms2En=1:Sms3En=0:Sms4En=0:Sms5En=0:Sms6En=0:Sms7En=0:"
        "Sms8En=0:Voice1En=1:Voice2En=0:Voice3En=0:Voice4En=0:Voice5En=0:Voice6En=0:"
        "Voice7En=0:Voice8En=0:Ip1=194.85.12.40:Port1=5000:Ip2=194.85.12.41:Port2=5001:"
        "Ip3=10.0.0.1:Port3=5002:Ip4=0.0.0.0:Port4=0:CONT1=10:CONT2=15:CONT3=30:CONT4=60:"
        "GET1=1:GET2=0:GET3=0:GET4=0:NmbPress=1:Coord=4:Ip1En=1:Ip2En=1:Ip3En=0:Ip4En=0:"
        "Apn=\xE8\xED\xF2\xE5\xF0\xED\xE5\xF2:Aus=mts:Apas=mts:BlSt=*100#:BlTm=1440:REG=A:";

    const auto toStdout = runVigil({"read", "--port", kPort});
    EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, expected);

    const auto toFile = runVigil({"read", "--port", kPort, "--out", path("unit.abt")});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(readFile("unit.abt"), expected);

    const auto json = runVigil({"read", "--port", kPort, "--format", "json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    for (const char* entry :
         {"\"Apn\": \"интернет\"", "\"AlarmPressCount\": \"2\"", "\"MicSensitivity\": \"A\"",
          "\"GpsSleepMode\": \"4\"", "\"IdCode\": \"004512 Версия 2.07 Eeprom OK\"",
          "\"GpsLongitude\": \"03737.5678E\"", "\"ServerEnable4\": \"0\""})
        EXPECT_THAT(json.out, HasSubstr(entry));
    // The read request of the Read buttons, three times.
    EXPECT_EQ(terminal.mode.requests(), std::vector<std::string>(3, "$Pass=Vostel:End:"));

    const auto gathered =
        runVigil({"read", "--port", "COM" + std::to_string(kCom + 1), "--format", "json"});
    EXPECT_EQ(gathered.exitCode, 0) << gathered.err;
    EXPECT_EQ(gathered.out, json.out);
}

TEST_F(TerminalCommands, AReadThatFailsExitsWithItsCodeAndSaysWhy) {
    sim::SettingsOptions muted;
    muted.mute = true;
    SettingsTerminal silent(map, kCom, muted);
    ForgetfulTerminal partial({}, {"IDCOD=", "GPRLON="}, true);
    SimulatedLine lacking(map, kCom + 1, partial);
    SettingsTerminal held(map, kCom + 2);
    testsupport::VigilProcess holder({"monitor", "--port", "COM" + std::to_string(kCom + 2)});
    ASSERT_TRUE(holder.waitForOutput("\n"));

    const struct {
        int com, exitCode;
        std::vector<std::string> says;
    } cases[] = {
        {kCom, 3, {"Терминал не ответил на COM" + std::to_string(kCom) + " (", "другая программа"}},
        {kCom + 1, 3, {"lacks IDCOD, GPRLON"}},
        {99, 1, {"COM99: Не могу открыть COM порт\nvigil: Этому порту не назначено устройство"}},
        // The simulator (this test) holds the pty too.
        {kCom + 2, 1, {"занят: его держит ", " vigil (pid "}},
    };
    for (const auto& c : cases) {
        const auto result = runVigil({"read", "--port", "COM" + std::to_string(c.com)});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.com;
        EXPECT_EQ(result.out, "") << c.com;
        for (const std::string& text : c.says) EXPECT_THAT(result.err, HasSubstr(text)) << c.com;
    }
}

TEST_F(TerminalCommands, WriteSendsTheFileWithOverridesAsWriteAllDoesAndVerifies) {
    SettingsTerminal terminal(map, kCom);
    writeFile("template.abt", kTemplate);
    const auto result =
        runVigil({"write", "--port", kPort, path("template.abt"), "--set",
                  "ModulePhone=+79990001122", "--set", "nmbpress=0", "--set", "Apn=тест"});
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    // The read of the snapshot the records keep, then the request of "write all pages" (mask
    // 0x0283): settings, phones, internet, access; then the read that names the terminal written.
    EXPECT_EQ(terminal.mode.requests(),
              (std::vector<std::string>{
                  "$Pass=Vostel:End:",
                  "$Pass=Vostel:REG=C:NmbPress=1:Coord=2:TL1=111:TL2=222:TL3=:TL4=:TL5=:TL6=:"
                  "TL7=:TL8=:TL9=+79990001122:Sms1En=1:Sms2En=0:Sms3En=0:Sms4En=0:Sms5En=0:"
                  "Sms6En=0:Sms7En=0:Sms8En=0:Voice1En=0:Voice2En=0:Voice3En=0:Voice4En=0:"
                  "Voice5En=0:Voice6En=0:Voice7En=0:Voice8En=1:Ip1=10.1.1.1:Port1=7000:Ip2=:"
                  "Port2=:Ip3=:Port3=:Ip4=:Port4=:CONT1=5:CONT2=5:CONT3=5:CONT4=5:GET1=1:GET2=0:"
                  "GET3=0:GET4=1:Ip1En=1:Ip2En=0:Ip3En=0:Ip4En=0:Apn1=\xF2\xE5\xF1\xF2:Aus1=u:"
                  "Apas1=p:BlSt1=*102#:BlTm1=60:End:",
                  "$Pass=Vostel:End:"}));
    EXPECT_EQ(terminal.mode.store().value("ModulePhone"), "+79990001122");
    EXPECT_EQ(terminal.mode.store().value("AlarmPressCount"), "1");
}

TEST_F(TerminalCommands, AValueTheTerminalStoresDifferentlyIsNamedAndExitsWithFour) {
    sim::SettingsOptions cutting;
    cutting.textLimit = 8;
    ForgetfulTerminal forgetful(cutting, {"TL9="}, false);
    SimulatedLine line(map, kCom, forgetful);
    writeFile("template.abt", kTemplate);
    const struct {
        const char* set;
        const char* field;  // the one field cut, and nothing else
        bool readBack;      // the write's answer lacks it: a read checks it
    } cases[] = {
        {"TL3=123456789012",
         "\"Телефон 3: Номер\" (TL3) на вкладке \"Телефоны\": отправлено \"123456789012\", "
         "получено \"12345678\"",
         false},
        {"TL9=+79990001122",
         "\"Телефон модуля\" (TL9) на вкладке \"Телефоны\": отправлено \"+79990001122\", получено "
         "\"+7999000\"",
         true},
    };
    for (const auto& c : cases) {
        const std::size_t before = forgetful.settings.requests().size();
        const auto result =
            runVigil({"write", "--port", kPort, path("template.abt"), "--set", c.set});
        EXPECT_EQ(result.exitCode, 4) << result.err;
        EXPECT_THAT(result.out, ::testing::EndsWith(std::string(":\n  поле ") + c.field + "\n"));
        if (!c.readBack) continue;
        const auto requests = forgetful.settings.requests();
        // The snapshot, the write, the read that checks it and the read that confirms the
        // difference, which also names the terminal written (no read of its own for that).
        ASSERT_EQ(requests.size(), before + 4);
        EXPECT_EQ(requests.back(), "$Pass=Vostel:End:");
        EXPECT_EQ(requests[before], "$Pass=Vostel:End:");
        EXPECT_EQ(requests[before + 2], "$Pass=Vostel:End:");
    }
}

// The settings firmware on a line that still carries `stale`, the answer to an earlier read: it
// comes shortly after the program opens the line, or just ahead of the answer to the first write
// (which then follows a second later).
class LateLine : public sim::Mode, private sim::Line {
  public:
    enum class When { AfterOpen, BeforeFirstWriteAnswer };
    LateLine(When when, const sim::SettingsOptions& options, const sim::ParameterStore& store,
             std::string stale)
        : settings(options, store), when_(when), stale_(std::move(stale)) {}
    void linkOpened(sim::Line& line) override {
        if (when_ == When::AfterOpen) line.send(stale_, std::chrono::milliseconds(100));
    }
    void received(const std::uint8_t* data, std::size_t length, sim::Line& line) override {
        line_ = &line;
        heard_.append(reinterpret_cast<const char*>(data), length);
        if (when_ == When::BeforeFirstWriteAnswer && hold_ == sim::Clock::duration::zero() &&
            heard_.find("TL1=") != std::string::npos) {
            line.send(std::exchange(stale_, ""));
            hold_ = std::chrono::seconds(1);
        }
        settings.received(data, length, *this);
    }
    sim::SettingsMode settings;

  private:
    void send(std::string bytes, sim::Clock::duration delay) override {
        line_->send(std::move(bytes), delay + hold_);
    }
    void unplug() override { line_->unplug(); }
    sim::Clock::time_point now() const override { return line_->now(); }

    When when_;
    std::string stale_, heard_;
    sim::Clock::duration hold_{};
    sim::Line* line_ = nullptr;
};

TEST_F(TerminalCommands, ALateAnswerOfAnEarlierRequestIsNeitherReadNorADifference) {
    sim::ParameterStore before, now;
    before.set(byName("Apn"), "old.apn");
    now.set(byName("Apn"), "apn.ru");
    std::string stale;
    for (const protocol::Parameter& p : protocol::kParameters) stale += before.answerItem(p);
    // Left on the line before the read: the line must fall quiet before the request goes out.
    sim::SettingsOptions slow;
    slow.answerDelayMs = 200;
    LateLine leftOver(LateLine::When::AfterOpen, slow, now, stale);
    SimulatedLine line(map, kCom, leftOver);
    const auto read = runVigil({"read", "--port", kPort});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_THAT(read.out, HasSubstr("Apn=apn.ru:"));
    // Ahead of the write's own answer: a read confirms what the terminal stored.
    LateLine late(LateLine::When::BeforeFirstWriteAnswer, {}, before, stale);
    SimulatedLine lateLine(map, kCom + 1, late);
    writeFile("template.abt", kTemplate);
    const auto write = runVigil({"write", "--port", "COM8", path("template.abt")});
    EXPECT_EQ(write.exitCode, 0) << write.out << write.err;
    EXPECT_EQ(late.settings.store().value("Apn"), "apn.ru");
}

// A terminal that answers every request 2.5 s late: later than a read's first byte is awaited,
// within a write's. The late answer of one request must never be taken for the next one's, and a
// read-back that gets no answer is no answer, never a difference.
TEST_F(TerminalCommands, ATerminalThatAlwaysAnswersLateIsNeverReportedAsDiffering) {
    sim::SettingsOptions late;
    late.answerDelayMs = 2500;
    SettingsTerminal terminal(map, kCom, late);
    writeFile("template.abt", kTemplate);
    // The snapshot read goes unanswered; its answer comes while the write would go out.
    const auto write = runVigil({"write", "--port", kPort, path("template.abt")});
    EXPECT_EQ(write.exitCode, 0) << write.out << write.err;
    EXPECT_THAT(write.out, HasSubstr("written and verified"));
    EXPECT_EQ(terminal.mode.store().value("Apn"), "apn.ru");

    // The write's answer lacks TL9, so a read must check it; that read goes unanswered.
    sim::SettingsOptions lateForgetful;
    lateForgetful.answerDelayMs = 2500;
    ForgetfulTerminal forgetful(lateForgetful, {"TL9="}, false);
    SimulatedLine line(map, kCom + 1, forgetful);
    const auto unchecked = runVigil({"write", "--port", "COM8", path("template.abt")});
    EXPECT_EQ(unchecked.exitCode, 3) << unchecked.out << unchecked.err;
    EXPECT_THAT(unchecked.out, Not(HasSubstr("differ")));
    EXPECT_THAT(unchecked.err, HasSubstr("COM8"));

    // Every answer twice, the copy a second later: a copy is never the next request's answer, so
    // a value the terminal cut is still found, and nothing else is.
    sim::SettingsOptions cutting;
    cutting.textLimit = 8;
    ForgetfulTerminal doubling(cutting, {}, false, std::chrono::seconds(1));
    SimulatedLine doubled(map, kCom + 2, doubling);
    const auto twice =
        runVigil({"write", "--port", "COM9", path("template.abt"), "--set", "TL3=123456789012"});
    EXPECT_EQ(twice.exitCode, 4) << twice.out << twice.err;
    EXPECT_THAT(twice.out, ::testing::EndsWith("values differ:\n  поле \"Телефон 3: Номер\" (TL3) "
                                               "на вкладке \"Телефоны\": отправлено "
                                               "\"123456789012\", получено \"12345678\"\n"));
}

TEST_F(TerminalCommands, AnEchoOfTheRequestIsNeverTakenForTheTerminalsAnswer) {
    sim::SettingsOptions cutting;
    cutting.textLimit = 8;
    testsupport::EchoingLine echoing(cutting);
    SimulatedLine line(map, kCom, echoing);
    writeFile("template.abt", kTemplate);
    const auto write =
        runVigil({"write", "--port", kPort, path("template.abt"), "--set", "TL3=123456789012"});
    EXPECT_EQ(write.exitCode, 4) << write.out << write.err;
    EXPECT_THAT(write.out, HasSubstr("отправлено \"123456789012\", получено \"12345678\""));
    const auto read = runVigil({"read", "--port", kPort});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_THAT(read.out, HasSubstr("TL3=12345678:"));
}

TEST_F(TerminalCommands, BadWriteInputIsRefusedBeforeAnythingIsSent) {
    // Each refused override's reason is tested with the overrides themselves.
    SettingsTerminal terminal(map, kCom);
    writeFile("t.abt", "TL1=1:");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"write", "--port", kPort, path("t.abt"), "--set", "Colour=red"}, "unknown parameter"},
        {{"write", "--port", kPort, path("none.abt")}, "none.abt"},
        {{"write", "--port", "LPT1", path("t.abt")}, "--port takes COM<n>"},
        {{"write", "--port", kPort, path("t.abt"), "--baud", "12345"}, "--baud takes"},
        {{"write", "--port", kPort, path("t.abt"), "--speed", "9600"}, "unknown option --speed"},
    };
    for (const auto& c : cases) {
        const auto result = runVigil(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.says;
        EXPECT_THAT(result.err, HasSubstr(c.says));
    }
    EXPECT_TRUE(terminal.mode.requests().empty());
}

TEST_F(TerminalCommands, PortsListsTheMapWithEachDevicesPresence) {
    SettingsTerminal terminal(map, kCom);
    map.map("/dev/vigil-test-unplugged", 12);
    const auto result = runVigil({"ports"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, ::testing::ContainsRegex("COM7 +" + terminal.line.engine.slavePath() +
                                                     " +- +present\n"));
    EXPECT_THAT(result.out,
                ::testing::ContainsRegex("COM12 +/dev/vigil-test-unplugged +- +absent\n"));
}

TEST_F(TerminalCommands, MonitorShowsReceptionsAsTheMonitorPageAndSwitchesOff) {
    SettingsTerminal terminal(map, kCom);
    // The terminal's line "GSM: CSQ 21,0 REG 1" CR LF: 16 bytes, then 5.
    const std::string full = "47 53 4D 3A 20 43 53 51 20 32 31 2C 30 20 52 45 " +
                             std::string(9, ' ') + "GSM: CSQ 21,0 RE\n";
    const std::string rest = "47 20 31 0D 0A " + std::string(75, ' ') + "G 1. . \n";
    for (const bool interrupt : {false, true}) {
        testsupport::VigilProcess monitor(
            interrupt ? std::vector<std::string>{"monitor", "--port", kPort, "--timestamps"}
                      : std::vector<std::string>{"monitor", "--port", kPort, "--seconds", "1"});
        ASSERT_TRUE(monitor.waitForOutput(full + rest));
        if (interrupt) monitor.interrupt();
        const auto result = monitor.finish();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out.find('[') != std::string::npos, interrupt);
    }
    // The last request reaches the terminal after the program has closed its port.
    EXPECT_TRUE(testsupport::eventually([&] { return terminal.mode.requests().size() == 4; }));
    EXPECT_EQ(terminal.mode.requests(),
              (std::vector<std::string>{
                  "$Pass=Vostel:Monitor=On:End:", "$Pass=Vostel:Monitor=Off:End:",
                  "$Pass=Vostel:Monitor=On:End:", "$Pass=Vostel:Monitor=Off:End:"}));
    EXPECT_FALSE(terminal.mode.monitorOn());
}

TEST_F(TerminalCommands, UploadSendsEveryRecordOnceAndReportsTheOutcome) {
    std::vector<std::uint8_t> payload(700);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::uint8_t> image = sim::makeImage(payload, 100);  // seven records
    writeFile("fw.enc", sim::hexText(image));
    writeFile("crc.enc", "00 05 01 02 03 04 05");

    sim::BootloaderOptions accepting;
    accepting.acceptByte = 0x33;
    sim::BootloaderMode boot(accepting);
    SimulatedLine line(map, kCom, boot);
    const auto done = runVigil({"upload", "--port", kPort, path("fw.enc"), "--no-wait"});
    EXPECT_EQ(done.exitCode, 0) << done.err;
    EXPECT_EQ(boot.recordsReceived(), 7u);
    EXPECT_EQ(boot.image(), image);
    EXPECT_THAT(done.out, HasSubstr("7/7 records  728/728 bytes"));
    EXPECT_THAT(done.out, HasSubstr("Обновление прошло успешно. BL ver 02"));

    sim::BootloaderOptions rejecting;
    for (unsigned r = 1; r <= 10; ++r) rejecting.rejectRecords.insert(r);
    sim::BootloaderMode refuser(rejecting);
    SimulatedLine other(map, kCom + 1, refuser);
    const struct {
        std::string port, file;
        int exitCode;
        const char* says;
    } cases[] = {
        {"COM" + std::to_string(kCom + 1), path("fw.enc"), 5, "Ошибка CRC. Файл поврежден."},
        {kPort, path("crc.enc"), 2, "В файле обновления ошибка CRC"},
        {kPort, path("missing.enc"), 2, "missing.enc"},
    };
    for (const auto& c : cases) {
        const auto result = runVigil({"upload", "--port", c.port, c.file, "--no-wait"});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.says;
        EXPECT_THAT(result.err, HasSubstr(c.says));
    }
    EXPECT_EQ(refuser.recordsReceived(), 10u);
    EXPECT_EQ(boot.recordsReceived(), 7u);  // nothing of a file that fails its check

    // Unplugged at record 3: a failure that says where the update stopped.
    sim::BootloaderOptions unplugging;
    unplugging.unplugAtRecord = 3;
    sim::BootloaderMode pulled(unplugging);
    SimulatedLine third(map, kCom + 2, pulled);
    const auto cut = runVigil(
        {"upload", "--port", "COM" + std::to_string(kCom + 2), path("fw.enc"), "--no-wait"});
    EXPECT_EQ(cut.exitCode, 5) << cut.err;
    EXPECT_THAT(cut.err, HasSubstr(update::kLinkLostText));
    EXPECT_THAT(cut.err, HasSubstr(update::unfinishedText(3, 7, "run vigil upload --no-wait")));
}

}  // namespace
