// Properties, setters and the closed-port contract of TCommPort, on the fake device.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "platform/PortDiagnostics.h"
#include "support/FakePortFixture.h"
#include "support/PtyPair.h"

using platform::MessageIcon;

namespace {

const char* const kCannotOpen = "Не могу открыть COM порт";

class Properties : public testsupport::FakePortTest {};

TEST_F(Properties, DefaultsAndSettersThatClampOrIgnoreBadValues) {
    // Line defaults and the modem lines at open are checked at the device below.
    EXPECT_EQ(port.ComNumber(), 1);
    EXPECT_FALSE(port.Open() || port.IsEnabled() || port.DTR() || port.CTS() || port.DSR() ||
                 port.DCD());
    EXPECT_EQ(port.InSize(), 2048u);
    EXPECT_EQ(port.OutSize(), 4096u);
    EXPECT_EQ(port.MonitorEvents, 0x01FDu);
    const std::pair<int, TBaudRate> bauds[] = {
        {12345, cbr9600}, {115200, cbr115200}, {110, cbr110}};
    for (auto [baud, rate] : bauds) {
        port.SetBaud(baud);
        EXPECT_EQ(port.BaudRate(), rate) << baud;
    }
    EXPECT_EQ(port.GetBaud(), 110);
    for (int bad : {-1, 15}) {
        port.SetBaudRate(static_cast<TBaudRate>(bad));
        EXPECT_EQ(port.GetBaud(), 0);
    }
    const std::pair<int, int> bits[] = {{9, 8}, {4, 8}, {5, 5}};
    for (auto [set, got] : bits) {
        port.SetDataBits(set);
        EXPECT_EQ(port.DataBits(), got) << set;
    }
    port.SetXoffLim(5000);
    EXPECT_EQ(port.XoffLim(), 2048) << "capped by the receive ring";
}

TEST_F(Properties, TimeOutsReadZeroWhileClosedAndTheConfiguredSetWhileOpen) {
    EXPECT_EQ(port.GetTimeOuts(toReadTotalConstant, 1), 0u);
    port.SetOpen(true);
    const std::uint32_t expected[] = {10, 0, 1000, 0, 0};
    for (int w = toReadInterval; w <= toWriteTotalConstant; ++w) {
        EXPECT_EQ(port.GetTimeOuts(static_cast<TComTimeOuts>(w), 1), expected[w]);
        EXPECT_EQ(port.GetTimeOuts(static_cast<TComTimeOuts>(w), 0), 0u) << "the device's own set";
    }
    EXPECT_EQ(port.GetTimeOuts(static_cast<TComTimeOuts>(5), 1), 0u);
    port.SetTimeOut(static_cast<TComTimeOuts>(7), 99);
    port.SetTimeOut(toReadInterval, 25);
    EXPECT_EQ(port.GetTimeOuts(toReadInterval, 1), 25u);
    port.SetOpen(false);
    // The saved set goes back to the device at close.
    platform::DeviceTimeOuts t;
    fake->getTimeOuts(t);
    EXPECT_EQ(t, platform::DeviceTimeOuts{});
}

TEST_F(Properties, BitsWarningReportsOnlyTheTwoBadCombinations) {
    port.SetStopBits(sb1_5);  // 8 data bits
    port.SetDataBits(5);      // 5 with 1.5: fine
    port.SetStopBits(sb2_0);  // 5 with 2
    port.SetDataBits(6);      // 6 with 2: fine
    const auto shown = messages.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)");
    EXPECT_EQ(shown[1].text, "Invalid combination (5 data bits with 2 stop bits)");
    for (const auto& m : shown) {
        EXPECT_EQ(m.caption, "COM port warning");
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, platform::MessageButtons::Ok);
    }
    EXPECT_EQ(port.StopBits(), sb2_0) << "only warned, still stored";
}

TEST_F(Properties, AClosedPortTouchesNothingButSendBreakStillWaits) {
    char buf[8];
    EXPECT_EQ(port.PutBlock("abc", 3) + port.PutString("abc") + port.PutChar('a'), 0u);
    EXPECT_EQ(port.GetBlock(buf, 8) + port.GetChar() + port.GetOutQueCount(), 0);
    EXPECT_FALSE(port.CharReady() || port.GetModemState(1));
    port.FlushInBuffer();
    port.FlushOutBuffer();
    const auto start = std::chrono::steady_clock::now();
    port.SendBreak(10);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(550));
    EXPECT_FALSE(port.SetBreak(true));
    EXPECT_TRUE(fake->escapes().empty());
    EXPECT_EQ(fake->opens(), 0);
}

TEST_F(Properties, ModemLinesFollowControlAndOpenState) {
    port.SetDTR(true);  // closed: stored for the next open
    EXPECT_TRUE(port.DTR());
    port.SetDTR(false);
    port.SetComControl(ccHard);
    port.SetDTR(true);
    EXPECT_FALSE(port.DTR());
    port.SetRTS(false);
    EXPECT_TRUE(port.RTS());

    port.SetComControl(ccNone);
    port.SetOpen(true);
    using E = platform::Escape;
    // After the line settings the properties are applied: DTR low, RTS high.
    const auto esc = fake->escapes();
    ASSERT_GE(esc.size(), 2u);
    EXPECT_EQ(std::vector<E>(esc.end() - 2, esc.end()), (std::vector<E>{E::ClrDtr, E::SetRts}));
    port.PowerOn();
    EXPECT_TRUE(port.DTR() && port.RTS());
    port.PowerOff();
    EXPECT_FALSE(port.DTR() || port.RTS());
    const auto after = fake->escapes();
    EXPECT_EQ(std::vector<E>(after.end() - 4, after.end()),
              (std::vector<E>{E::SetDtr, E::SetRts, E::ClrDtr, E::ClrRts}));
    EXPECT_TRUE(port.SetBreak(true));
    EXPECT_EQ(fake->escapes().back(), E::SetBreak);

    fake->setModemLines(platform::modemBit::Dsr | platform::modemBit::Dcd);
    const bool state[] = {false, false, true, false, true, false};  // CTS, DSR, Ring, DCD at 1..4
    for (int n = 0; n <= 5; ++n) EXPECT_EQ(port.GetModemState(n), state[n]) << n;
}

TEST_F(Properties, OpenAndCloseAreToggledOnceAndRaiseTheirEvents) {
    int opens = 0, closes = 0, lastError = -1;
    port.OnOpen = [&](TCommPort* s, int e) {
        EXPECT_EQ(s, &port);
        ++opens, lastError = e;
    };
    port.OnClose = [&](TCommPort*) { ++closes; };
    port.SetOpen(false);
    EXPECT_EQ(closes, 0);
    port.SetOpen(true);
    port.SetOpen(true);
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(lastError, 0);
    EXPECT_TRUE(port.Open() && port.IsEnabled());

    port.SetComNumber(3);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.ComNumber(), 3);

    port.SetOpen(true);
    port.SetIBuffSize(512);  // reopens
    EXPECT_EQ(opens, 3);
    EXPECT_EQ(closes, 2);
    EXPECT_EQ(port.GetInBuffFree(), 512u);
    port.SetOpen(false);
    port.SetOBuffSize(100);  // closed: stays closed
    EXPECT_EQ(opens, 3);
    EXPECT_EQ(port.OutSize(), 100u);
}

TEST_F(Properties, LineSettingsReachTheDeviceAtOpenAndAtOnceWhileOpen) {
    port.SetComControl(ccHard);
    port.SetBaud(57600);
    port.SetParity(paMark);
    port.SetDataBits(7);
    port.SetXoffChar(0x23);
    port.SetOpen(true);
    auto dc = fake->control();
    EXPECT_EQ(dc.flags, 0x202Du);
    EXPECT_EQ(dc.baudRate, 57600u);
    EXPECT_EQ(dc.parity, 3);
    EXPECT_EQ(dc.byteSize, 7);
    EXPECT_EQ(dc.stopBits, 0);
    EXPECT_EQ(dc.xonLim, 0);
    EXPECT_EQ(dc.xoffLim, 1024);
    EXPECT_EQ(dc.xonChar, 17);
    EXPECT_EQ(dc.xoffChar, 0x23);
    EXPECT_EQ(dc.eventChar, 0);

    port.SetComControl(ccSoft);
    EXPECT_EQ(fake->control().flags, 0x1311u);
    port.SetComControl(static_cast<TComControl>(7));
    EXPECT_EQ(fake->control().flags, 0x0001u);
    EXPECT_EQ(port.Control(), ccNone);
    port.SetStopBits(sb2_0);
    EXPECT_EQ(fake->control().stopBits, 2);
}

TEST_F(Properties, AFailedSettingIsReportedThroughOnOpenAndThePortStaysOpen) {
    int error = 0;
    port.OnOpen = [&](TCommPort*, int e) { error = e; };
    fake->failControl(EINVAL);
    port.SetOpen(true);
    EXPECT_EQ(error, EINVAL);
    EXPECT_TRUE(port.Open());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Properties, AFailedOpenShowsTheMessageAndHoldsNothing) {
    bool opened = false;
    port.OnOpen = [&](TCommPort*, int) { opened = true; };
    fake->failOpen(ENOENT);
    port.SetOpen(true);
    EXPECT_FALSE(opened || port.Open() || port.IsEnabled());
    const auto shown = messages.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text.substr(0, shown[0].text.find('\n')), kCannotOpen);
    EXPECT_EQ(shown[0].caption, "COM port error");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
}

TEST_F(Properties, PermissionDeniedGivesTheDiagnosedCause) {
    testsupport::ComPortMapFile map;
    testsupport::PtyPair pty;
    map.map(pty.slavePath(), 1);
    fake->failOpen(EACCES);
    port.SetOpen(true);
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], std::string(kCannotOpen) + "\n" +
                            platform::describeOpenFailure(pty.slavePath(), EACCES));
    EXPECT_EQ(port.OpenFailureCause(), platform::describeOpenFailure(pty.slavePath(), EACCES));
    EXPECT_NE(texts[0].find(pty.slavePath()), std::string::npos) << texts[0];
}

}  // namespace
