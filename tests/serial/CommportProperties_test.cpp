// Properties, setters and the closed-port contract of TCommPort, on the fake device.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "support/FakePortFixture.h"
#include "support/PtyPair.h"

using platform::MessageIcon;
using testsupport::FakePortTest;

namespace {

const char* const kWarn678 = "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)";
const char* const kWarn5 = "Invalid combination (5 data bits with 2 stop bits)";

class Properties : public FakePortTest {};

TEST_F(Properties, DefaultsAreThoseOfTheDesign) {
    EXPECT_EQ(port.ComNumber(), 1);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsEnabled());
    EXPECT_FALSE(port.DTR());
    EXPECT_TRUE(port.RTS());
    EXPECT_FALSE(port.CTS() || port.DSR() || port.DCD() || port.Ring());
    EXPECT_EQ(port.InSize(), 2048u);
    EXPECT_EQ(port.OutSize(), 4096u);
    EXPECT_EQ(port.InBuffUsed(), 0u);
    EXPECT_EQ(port.OutBuffUsed(), 0u);
    EXPECT_EQ(port.BaudRate(), cbr9600);
    EXPECT_EQ(port.Baud(), 9600);
    EXPECT_EQ(port.Control(), ccNone);
    EXPECT_EQ(port.Parity(), paNone);
    EXPECT_EQ(port.StopBits(), sb1_0);
    EXPECT_EQ(port.DataBits(), 8);
    EXPECT_EQ(port.MonitorEvents, 0x01FDu);
    EXPECT_EQ(port.XonLim(), 0);
    EXPECT_EQ(port.XoffLim(), 1024);
    EXPECT_EQ(port.XonChar(), 17);
    EXPECT_EQ(port.XoffChar(), 19);
    EXPECT_EQ(port.EventChar(), 0);
    EXPECT_EQ(cbr256000, 14);
    EXPECT_EQ(EventBit(evRing), 0x0100u);
}

TEST_F(Properties, BaudMapsOnlyExactRates) {
    port.SetBaud(12345);
    EXPECT_EQ(port.BaudRate(), cbr9600);
    port.SetBaud(115200);
    EXPECT_EQ(port.BaudRate(), cbr115200);
    EXPECT_EQ(port.GetBaud(), 115200);
    port.SetBaud(110);
    EXPECT_EQ(port.BaudRate(), cbr110);
    port.SetBaudRate(static_cast<TBaudRate>(-1));
    EXPECT_EQ(port.GetBaud(), 0);
    port.SetBaudRate(static_cast<TBaudRate>(15));
    EXPECT_EQ(port.GetBaud(), 0);
}

TEST_F(Properties, DataBitsOutsideFiveToEightBecomeEight) {
    port.SetDataBits(9);
    EXPECT_EQ(port.DataBits(), 8);
    port.SetDataBits(4);
    EXPECT_EQ(port.DataBits(), 8);
    port.SetDataBits(5);
    EXPECT_EQ(port.DataBits(), 5);
}

TEST_F(Properties, XoffLimitIsCappedByTheReceiveRing) {
    port.SetXoffLim(5000);
    EXPECT_EQ(port.XoffLim(), 2048);
    port.SetXoffLim(100);
    EXPECT_EQ(port.XoffLim(), 100);
}

TEST_F(Properties, TimeOutsReadZeroWhileClosedAndTheConfiguredSetWhileOpen) {
    for (int w = toReadInterval; w <= toWriteTotalConstant; ++w) {
        EXPECT_EQ(port.GetTimeOuts(static_cast<TComTimeOuts>(w), 1), 0u);
        EXPECT_EQ(port.GetTimeOuts(static_cast<TComTimeOuts>(w), 0), 0u);
    }
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
    // The saved set goes back to the device at close; the next open saves it again.
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
    EXPECT_EQ(shown[0].text, kWarn678);
    EXPECT_EQ(shown[1].text, kWarn5);
    for (const auto& m : shown) {
        EXPECT_EQ(m.caption, "COM port warning");
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, platform::MessageButtons::Ok);
    }
    EXPECT_EQ(port.StopBits(), sb2_0) << "only warned, still stored";
}

TEST_F(Properties, SendBreakOnAClosedPortStillWaits) {
    const auto start = std::chrono::steady_clock::now();
    port.SendBreak(10);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(550));
    EXPECT_FALSE(port.SetBreak(true));
    EXPECT_TRUE(fake->escapes().empty());
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
    EXPECT_EQ(esc[esc.size() - 2], E::ClrDtr);
    EXPECT_EQ(esc.back(), E::SetRts);
    port.PowerOn();
    EXPECT_TRUE(port.DTR() && port.RTS());
    port.PowerOff();
    EXPECT_FALSE(port.DTR() || port.RTS());
    const auto after = fake->escapes();
    EXPECT_EQ(std::vector<E>(after.end() - 4, after.end()),
              (std::vector<E>{E::SetDtr, E::SetRts, E::ClrDtr, E::ClrRts}));
    EXPECT_TRUE(port.SetBreak(true));
    EXPECT_EQ(fake->escapes().back(), E::SetBreak);
}

TEST_F(Properties, ModemStateReadsTheFourLines) {
    EXPECT_FALSE(port.GetModemState(1));
    port.SetOpen(true);
    fake->setModemLines(platform::modemBit::Dsr | platform::modemBit::Dcd);
    EXPECT_FALSE(port.GetModemState(1));
    EXPECT_TRUE(port.GetModemState(2));
    EXPECT_FALSE(port.GetModemState(3));
    EXPECT_TRUE(port.GetModemState(4));
    EXPECT_FALSE(port.GetModemState(0));
    EXPECT_FALSE(port.GetModemState(5));
}

TEST_F(Properties, OpenAndCloseAreToggledOnceAndRaiseTheirEvents) {
    int opens = 0, closes = 0, lastError = -1;
    port.OnOpen = [&](TCommPort* s, int e) {
        EXPECT_EQ(s, &port);
        ++opens;
        lastError = e;
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
    EXPECT_TRUE(port.Open());
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
    port.SetXonChar(0x21);
    port.SetXoffChar(0x23);
    port.SetEventChar('\n');
    port.SetOpen(true);
    auto dc = fake->control();
    EXPECT_EQ(dc.flags, 0x202Du);
    EXPECT_EQ(dc.baudRate, 57600u);
    EXPECT_EQ(dc.parity, 3);
    EXPECT_EQ(dc.byteSize, 7);
    EXPECT_EQ(dc.stopBits, 0);
    EXPECT_EQ(dc.xoffLim, 1024);
    EXPECT_EQ(dc.xonChar, 0x21);
    EXPECT_EQ(dc.xoffChar, 0x23);
    EXPECT_EQ(dc.eventChar, '\n');

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

TEST_F(Properties, AClosedPortTouchesNothing) {
    char buf[8];
    EXPECT_EQ(port.PutBlock("abc", 3), 0u);
    EXPECT_EQ(port.PutString("abc"), 0u);
    EXPECT_EQ(port.PutChar('a'), 0u);
    EXPECT_EQ(port.GetBlock(buf, 8), 0);
    EXPECT_EQ(port.GetChar(), 0);
    EXPECT_FALSE(port.CharReady());
    EXPECT_EQ(port.GetOutQueCount(), 0);
    port.FlushInBuffer();
    port.FlushOutBuffer();
    EXPECT_EQ(fake->opens(), 0);
}

TEST_F(Properties, AFailedOpenShowsTheMessageAndHoldsNothing) {
    bool opened = false;
    port.OnOpen = [&](TCommPort*, int) { opened = true; };
    fake->failOpen(ENOENT);
    port.SetOpen(true);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsEnabled());
    const auto shown = messages.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Не могу открыть COM порт");
    EXPECT_EQ(shown[0].caption, "COM port error");
    EXPECT_EQ(shown[0].icon, MessageIcon::Error);
}

TEST_F(Properties, PermissionDeniedNamesTheDeviceAndItsGroup) {
    testsupport::ComPortMapFile map;
    testsupport::PtyPair pty;
    map.map(pty.slavePath(), 1);
    fake->failOpen(EACCES);
    port.SetOpen(true);
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("Не могу открыть COM порт\n", 0), 0u) << texts[0];
    EXPECT_NE(texts[0].find(pty.slavePath()), std::string::npos) << texts[0];
    EXPECT_NE(texts[0].find("группе"), std::string::npos) << texts[0];
}

}  // namespace
