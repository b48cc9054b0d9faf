// What vigil checks before it sends or writes anything: a template that would blank values, a
// value outside its parameter's domain from any source, and output paths that are not regular
// files. Each case that is refused leaves the terminal without a single request.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "CliFixture.h"
#include "WholeTemplate.h"
#include "session/BatchLog.h"

using ::testing::HasSubstr;
using testsupport::runVigil;

namespace {

constexpr int kCom = 9;
const std::string kPort = "COM" + std::to_string(kCom);

class CheckedInput : public testsupport::CliTest {
  protected:
    std::vector<std::string> write(const std::string& file, std::vector<std::string> more = {}) {
        std::vector<std::string> args = {"write", "--port", kPort, path(file)};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }
    std::vector<std::string> batch(const std::string& templateFile) {
        return {"batch",           "--port", kPort,          path(templateFile),
                path("units.csv"), "--log",  path("log.csv")};
    }
};

TEST_F(CheckedInput, ATemplateThatWouldBlankValuesIsRefusedListingThem) {
    testsupport::SettingsTerminal terminal(map, kCom);
    writeFile("one-key.abt", "TL1=+79000000001:");
    writeFile("empty.abt", "");
    writeFile("text.abt", "Phone numbers:\n+79000000001\n");
    writeFile("units.csv", "unit,TL9\nU1,+7999\n");
    for (const auto& args :
         {write("one-key.abt"), write("empty.abt"), write("text.abt"), batch("one-key.abt")}) {
        const auto result = runVigil(args);
        EXPECT_EQ(result.exitCode, 2) << args[3];
        EXPECT_THAT(result.err, HasSubstr(": nothing was sent: the file lacks "));
        EXPECT_THAT(result.err, HasSubstr(" writable values, which the write would blank in the "
                                          "terminal: "));
        EXPECT_THAT(result.err, HasSubstr("TL2, TL3, TL4, TL5, TL6, TL7, TL8, "));
    }
    const auto oneKey = runVigil(write("one-key.abt"));
    EXPECT_THAT(oneKey.err, HasSubstr("the file lacks 52 of the 53 writable values"));
    EXPECT_THAT(oneKey.err, HasSubstr("TL8, TL9, Sms1En,"));
    EXPECT_THAT(oneKey.err, HasSubstr("BlTm, REG. Give them in the file"));
    // A batch's units give TL9 for every unit: the template need not.
    const auto batchResult = runVigil(batch("one-key.abt"));
    EXPECT_THAT(batchResult.err, HasSubstr("TL8, Sms1En,"));
    EXPECT_TRUE(terminal.mode.requests().empty());
}

TEST_F(CheckedInput, AValueOutsideItsDomainIsRefusedFromEverySource) {
    testsupport::SettingsTerminal terminal(map, kCom);
    writeFile("whole.abt", testsupport::wholeTemplate("TL1=+79000000001:"));
    writeFile("sms5.abt", testsupport::wholeTemplate("Sms1En=5:"));
    writeFile("units.csv", "unit,Coord\nU1,9\n");
    writeFile("bom.abt", "\xEF\xBB\xBF" + testsupport::wholeTemplate(""));
    const auto refused = [](const std::vector<std::string>& args, const std::string& says) {
        const auto result = runVigil(args);
        EXPECT_EQ(result.exitCode, 2) << says;
        EXPECT_THAT(result.err, HasSubstr(says));
    };
    refused(write("sms5.abt"),
            "sms5.abt: invalid value \"5\" for SmsEnable1 (Sms1En): expected 0 "
            "or 1\nvigil: " +
                path("sms5.abt") + ": nothing was sent\n");
    refused(write("whole.abt", {"--set", "REG=Z"}),
            "invalid value \"Z\" for MicSensitivity (REG): expected one hex digit 0 to F\n");
    refused(write("whole.abt", {"--set", "REG=10"}),
            "invalid value \"10\" for MicSensitivity (REG)");
    refused(write("whole.abt", {"--set", "REG=-1"}),
            "invalid value \"-1\" for MicSensitivity (REG)");
    refused(write("whole.abt", {"--set", "Coord=9"}),
            "invalid value \"9\" for GpsSleepMode (Coord): expected 0 to 4\n");
    refused(write("bom.abt"),
            "bom.abt: nothing was sent: the file is UTF-8 (it starts with a byte "
            "order mark); .abt files are Windows-1251\n");
    refused(write("whole.abt", {"--set", "Apn=a\tb"}), "invalid value \"a\\x09b\" for Apn");
    refused(batch("whole.abt"),
            "units.csv:2: invalid value \"9\" for GpsSleepMode (Coord): expected 0 to 4\n");
    EXPECT_TRUE(terminal.mode.requests().empty());
}

TEST_F(CheckedInput, KeepUnlistedKeepsTheTerminalsOwnValuesAndVerifiesThem) {
    sim::ParameterStore service;  // a terminal in service, with its phones, servers and APN
    testsupport::SettingsTerminal terminal(map, kCom, {}, service);
    writeFile("one-key.abt", "TL1=+79000000001:");
    const auto result = runVigil(write("one-key.abt", {"--keep-unlisted", "--set", "REG=b"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("written and verified"));
    const auto requests = terminal.mode.requests();
    ASSERT_EQ(requests.size(), 3u);  // the read, the write, the read naming the terminal
    EXPECT_EQ(requests[0], "$Pass=Vostel:End:");  // the terminal's values are read first
    const sim::ParameterStore now = terminal.mode.store();
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.group == protocol::WriteGroup::None) continue;
        const std::string expected = p.name == "Phone1"           ? "+79000000001"
                                     : p.name == "MicSensitivity" ? "B"
                                                                  : service.value(p);
        EXPECT_EQ(now.value(p), expected) << p.name;
    }
    // A batch keeps each terminal's own values the same way.
    writeFile("units.csv", "unit,Apn\nU1,unit.apn\n");
    const auto batchResult =
        runVigil({"batch", "--port", kPort, path("one-key.abt"), path("units.csv"), "--log",
                  path("log.csv"), "--keep-unlisted"});
    EXPECT_EQ(batchResult.exitCode, 0) << batchResult.out << batchResult.err;
    const sim::ParameterStore afterBatch = terminal.mode.store();
    for (const protocol::Parameter& p : protocol::kParameters) {
        if (p.group != protocol::WriteGroup::None && p.name != "Apn") {
            EXPECT_EQ(afterBatch.value(p), now.value(p)) << p.name;
        }
    }
    EXPECT_EQ(afterBatch.value("Apn"), "unit.apn");
}

TEST_F(CheckedInput, AKeptValueTheAnswerParseWouldBendIsRefusedNotWrittenBackChanged) {
    sim::ParameterStore service;
    service.set(*protocol::findByAnswerKey("COORD="), "9");  // no such item: the parse takes 4
    service.set(*protocol::findByAnswerKey("REG="), "b");    // read as F by the parse's own rule
    testsupport::SettingsTerminal terminal(map, kCom, {}, service);
    writeFile("one-key.abt", "TL1=+79000000001:");
    auto result = runVigil(write("one-key.abt", {"--keep-unlisted"}));
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_THAT(result.err, HasSubstr("invalid value \"9\" for GpsSleepMode (Coord)"));
    EXPECT_THAT(result.err, HasSubstr("value \"b\" for MicSensitivity (REG), read as \"F\""));
    EXPECT_EQ(terminal.mode.requests().size(), 1u);  // the read, nothing written
    EXPECT_EQ(terminal.mode.store().value("GpsSleepMode"), "9");
    // A read says its output does not hold the terminal's own value.
    result = runVigil({"read", "--port", kPort, "--out", path("read.abt")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_THAT(result.err,
                HasSubstr("warning: the terminal holds invalid value \"9\" for GpsSleepMode"));

    // The batch fails that unit the same way; a value the template gives is not kept.
    writeFile("units.csv", "unit\nU1\n");
    result = runVigil({"batch", "--port", kPort, path("one-key.abt"), path("units.csv"), "--log",
                       path("log.csv"), "--keep-unlisted"});
    EXPECT_THAT(readFile("log.csv"), HasSubstr("GpsSleepMode (Coord)"));
    EXPECT_EQ(terminal.mode.store().value("GpsSleepMode"), "9");
    writeFile("coord.abt", "TL1=+79000000001:Coord=2:REG=b:");
    result = runVigil(write("coord.abt", {"--keep-unlisted"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(terminal.mode.store().value("GpsSleepMode"), "2");
}

// A FIFO would hold the command until something wrote to it, a device such as /dev/zero would
// feed it without end: each input is refused by name at once (exit 2), nothing sent.
TEST_F(CheckedInput, AnInputThatIsNoFileOrFarTooLargeIsRefusedWithoutWaiting) {
    testsupport::SettingsTerminal terminal(map, kCom);
    std::vector<std::string> inputs = {"pipe.abt", "pipe.enc", "pipe.csv"};
    for (const std::string& name : inputs) ASSERT_EQ(::mkfifo(path(name).c_str(), 0644), 0);
    if (::geteuid() == 0) {
        for (const std::string name : {"zero.abt", "zero.enc"}) {
            ASSERT_EQ(::mknod(path(name).c_str(), S_IFCHR | 0666, ::makedev(1, 5)), 0);
            inputs.push_back(name);
        }
    }
    writeFile("huge.enc", "");
    ASSERT_EQ(::truncate(path("huge.enc").c_str(), 1l << 30), 0);  // sparse: no room taken
    inputs.push_back("huge.enc");
    writeFile("whole.abt", testsupport::wholeTemplate(""));
    for (const std::string& name : inputs) {
        std::vector<std::string> args = write(name);
        if (name.ends_with(".enc")) args = {"upload", "--port", kPort, "--no-wait", path(name)};
        if (name.ends_with(".csv"))
            args = {"batch",    "--port", kPort,          path("whole.abt"),
                    path(name), "--log",  path("log.csv")};
        const auto result = runVigil(args);
        EXPECT_EQ(result.exitCode, 2) << name;
        EXPECT_THAT(result.err, HasSubstr(path(name))) << name;
    }
    EXPECT_TRUE(terminal.mode.requests().empty());

    // Text pasted into an update file would end the image there and drop the rest unsaid.
    writeFile("cut.enc", "00 05 01 02\r\n-- \r\n03 04 05");
    const auto cut = runVigil({"upload", "--port", kPort, "--no-wait", path("cut.enc")});
    EXPECT_EQ(cut.exitCode, 2);
    EXPECT_THAT(cut.err, HasSubstr("byte 13 is not a hexadecimal digit"));
}

// A batch log on a full disk: the unit is written, the row cannot be; the operator is told what
// the terminal now holds instead of a bare disk error.
TEST_F(CheckedInput, AUnitTheLogCannotRecordIsStillReportedAsWritten) {
    const std::string tiny = path("tiny");
    ASSERT_EQ(::mkdir(tiny.c_str(), 0755), 0);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", tiny.c_str(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "needs the right to mount a file system";
    testsupport::SettingsTerminal terminal(map, kCom);
    // A log that fills its last block exactly, then nothing free on the disk.
    const std::string header = "time,unit,idcode,result,differences\n", row = "t,U0,X,failed,";
    writeFile("tiny/log.csv",
              header + row + std::string(4096 - header.size() - row.size() - 1, 'x') + "\n");
    writeFile("tiny/fill", std::string(64 << 10, 'f'));
    writeFile("units.csv", "unit\nU1\n");
    writeFile("whole.abt", testsupport::wholeTemplate(""));
    const auto result = runVigil({"batch", "--port", kPort, path("whole.abt"), path("units.csv"),
                                  "--log", path("tiny/log.csv")});
    ::umount2(tiny.c_str(), MNT_DETACH);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("unit U1 (IDCOD="));
    EXPECT_THAT(result.err, HasSubstr("written and verified, but the log does not record it"));
}

TEST_F(CheckedInput, ALogSavedOverWhileTheBatchRunsTakesNoMoreRows) {
    std::string error;
    auto log = session::BatchLog::open(path("log.csv"), error);
    ASSERT_TRUE(log) << error;
    ASSERT_TRUE(log->append({"t", "U1", "id1", "ok", ""}, error)) << error;
    writeFile("edited.csv", "time,unit,idcode,result,differences\n");
    ASSERT_EQ(::rename(path("edited.csv").c_str(), path("log.csv").c_str()), 0);
    EXPECT_FALSE(log->append({"t", "U2", "id2", "ok", ""}, error));
    EXPECT_THAT(error, HasSubstr("replaced or removed while the batch ran"));
}

// A value the terminal holds outside its parameter's domain cannot be kept: read into a field it
// would be bent (a box unticked, a list unselected, the last radio item) and written back changed.
// A read warns of it.
TEST_F(CheckedInput, KeepUnlistedWritesNothingWhenATerminalValueCannotBeKeptAsItIs) {
    sim::ParameterStore odd;
    odd.set(*protocol::byControl("ChSim1ForP1"), "5");
    odd.set(*protocol::byControl("RadioGroup1"), "9");
    testsupport::SettingsTerminal terminal(map, kCom, {}, odd);
    writeFile("one-key.abt", "TL1=+79000000001:");
    const auto result = runVigil(write("one-key.abt", {"--keep-unlisted"}));
    EXPECT_EQ(result.exitCode, 2) << result.out;
    EXPECT_THAT(result.err, HasSubstr("invalid value \"5\" for SmsEnable1 (Sms1En)"));
    EXPECT_THAT(result.err, HasSubstr("invalid value \"9\" for GpsSleepMode (Coord)"));
    EXPECT_EQ(terminal.mode.requests(), std::vector<std::string>{"$Pass=Vostel:End:"});
    writeFile("units.csv", "unit,Apn\nU1,unit.apn\n");
    const auto batchResult =
        runVigil({"batch", "--port", kPort, path("one-key.abt"), path("units.csv"), "--log",
                  path("log.csv"), "--keep-unlisted"});
    EXPECT_EQ(batchResult.exitCode, 4) << batchResult.out << batchResult.err;
    EXPECT_THAT(batchResult.out, HasSubstr("Unit U1: FAILED"));
    EXPECT_EQ(terminal.mode.store().value("SmsEnable1"), "5");
    // A read says so too: its file would not write the same value back.
    const auto read = runVigil({"read", "--port", kPort});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_THAT(
        read.err,
        HasSubstr("warning: the terminal holds invalid value \"5\" for SmsEnable1 (Sms1En)"));
}

TEST_F(CheckedInput, OutputGoesThroughALinkAndNeverReplacesWhatIsNotAFile) {
    testsupport::SettingsTerminal terminal(map, kCom);
    const auto read = [&](const std::string& out) {
        return runVigil({"read", "--port", kPort, "--out", out});
    };
    writeFile("real.abt", "old");
    ASSERT_EQ(::symlink("real.abt", path("link.abt").c_str()), 0);
    auto result = read(path("link.abt"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    struct stat st {};
    ASSERT_EQ(::lstat(path("link.abt").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readFile("real.abt").substr(0, 4), "TL1=");

    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0644), 0);
    result = read(path("fifo"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vigil: Не удалось записать файл \"" + path("fifo") +
                              "\": это именованный канал (FIFO), а не обычный файл\n");
    ASSERT_EQ(::symlink("fifo", path("to-fifo").c_str()), 0);
    result = read(path("to-fifo"));
    EXPECT_EQ(result.err, "vigil: Не удалось записать файл \"" + path("to-fifo") +
                              "\": ссылка ведёт на \"" + path("fifo") +
                              "\", а это именованный канал (FIFO), а не обычный файл\n");
    ASSERT_EQ(::lstat(path("fifo").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // The batch log goes by the same rule.
    writeFile("units.csv", "unit\nU1\n");
    writeFile("whole.abt", testsupport::wholeTemplate(""));
    result = runVigil(
        {"batch", "--port", kPort, path("whole.abt"), path("units.csv"), "--log", path("fifo")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("это именованный канал (FIFO), а не обычный файл"));

    if (::geteuid() != 0) GTEST_SKIP() << "a device node needs root";
    ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    result = read(path("null"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "vigil: Не удалось записать файл \"" + path("null") +
                              "\": это устройство, а не обычный файл\n");
    ASSERT_EQ(::lstat(path("null").c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

}  // namespace
