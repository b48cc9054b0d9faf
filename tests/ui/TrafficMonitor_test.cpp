#include "ui/TrafficMonitor.h"

#include <gtest/gtest.h>

#include <string_view>
#include <tuple>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

Bytes bytesOf(std::string_view text, Bytes tail = {}) {
    Bytes bytes(text.begin(), text.end());
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}
std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}

TEST(MonitorLines, HexColumnsPrintableTextAndLineBreaks) {
    EXPECT_EQ(ui::monitorLines(bytesOf("OK\r\n")), Lines{"4F 4B 0D 0A " + blanks(81) + "OK. . "});
    const std::string full =
        "30 31 32 33 34 35 36 37 38 39 41 42 43 44 45 46 " + blanks(9) + "0123456789ABCDEF";
    EXPECT_EQ(ui::monitorLines(bytesOf("0123456789ABCDEFG")),
              (Lines{full, "47 " + blanks(99) + "G"}));
    EXPECT_EQ(ui::monitorLines(Bytes(48, 'x')).size(), 3u);
    EXPECT_TRUE(ui::monitorLines({}).empty());
    // Only printable ASCII shows itself.
    EXPECT_EQ(ui::monitorLines(Bytes{0x1F, 0x20, 0x7E, 0x7F, 0x80, 0xFF, 0x00}),
              Lines{"1F 20 7E 7F 80 FF 00 " + blanks(63) + ".  ~\x7F. . . "});
}

TEST(MonitorLines, ModemNoticeMarksTheBlockCode) {
    const std::tuple<std::uint8_t, std::uint8_t, const char*, const char*> codes[] = {
        {0xC8, 0x00, "C8 00", "ok. . "},
        {0x90, 0x01, "90 01", "br. . "},
        {0x93, 0x01, "93 01", "fb. . "},
        {0x01, 0x00, "01 00", ". . "},
        {0x00, 0x00, "00 00", ". . AB"}};
    for (const auto& [low, high, hex, text] : codes)
        EXPECT_EQ(ui::monitorLines(bytesOf("+IPD,4:", {low, high, 'A', 'B'})),
                  Lines{"2B 49 50 44 2C 34 3A " + std::string(hex) + " 41 42 " + blanks(39) +
                        "+IPD,4:" + text});
    // Code, nine marked bytes, then "XY" shown again, across the line break at byte 16.
    const auto lines =
        ui::monitorLines(bytesOf("+IPD,13:", {0xC8, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9, 'X', 'Y'}));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(57), "+IPD,13:ok. . . . . . ");
    EXPECT_EQ(lines[1].substr(105 - 15), ". . . XY");
    // Code bytes beyond the reception count as zero.
    EXPECT_EQ(ui::findModemBlock(bytesOf("+IPD,4:", {0xC8})).code, 200);
    EXPECT_EQ(ui::monitorLines(bytesOf("+IPD,4:", {0xC8}))[0].substr(105 - 24), "+IPD,4:o");
    EXPECT_EQ(ui::monitorLines(bytesOf("+IPD,4:"))[0].substr(105 - 21), "+IPD,4:");
}

TEST(MonitorLines, NoticeNotFoundOrNotFirst) {
    const Bytes code{0xC8, 0x00};
    // No ":" after the notice, the notice behind a zero byte, or the ":" behind one.
    for (std::string_view start : {std::string_view("+IPD,4"), std::string_view("\0+IPD,4:", 8),
                                   std::string_view("+IPD,4\0:", 8), std::string_view("+IPD:")})
        EXPECT_EQ(ui::findModemBlock(bytesOf(start, code)).code, 0) << start;
    EXPECT_EQ(ui::monitorLines(bytesOf(std::string_view("\0+IPD,1:", 8), code))[0].substr(75),
              ". +IPD,1:. . ");
    const auto two = ui::findModemBlock(
        bytesOf("+IPD,1:", {0x01, 0x00, '+', 'I', 'P', 'D', ',', '1', ':', 0xC8, 0x00}));
    EXPECT_EQ(two.payload, 7u);
    EXPECT_EQ(two.code, 1);
}

TEST(PendingLines, KeepsTheNewest500) {
    ui::PendingLines pending;
    for (int i = 0; i < 501; ++i) pending.add({std::to_string(i)});
    EXPECT_TRUE(pending.replacesView());
    const auto lines = pending.take();
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.front(), "1");
    EXPECT_EQ(lines.back(), "500");
    EXPECT_TRUE(pending.empty());
}

}  // namespace
