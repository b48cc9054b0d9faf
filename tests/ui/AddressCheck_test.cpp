#include "ui/AddressCheck.h"

#include <gtest/gtest.h>

#include "platform/RecordingMessageService.h"

namespace {

using Warnings = std::vector<std::string>;
const std::string kDigitsAndDots = "Только цифры и точки";
const std::string kOver255 = "Не более 255";
const std::string kDigits = "Только цифры";
const std::string kOver65535 = "Не более 65535";

TEST(LeadingNumber, ReadsLikeTheCLibraryOn32Bits) {
    for (auto [text, value] : {std::pair<const char*, std::int32_t>{"", 0},
                               {"abc", 0},
                               {" \t+12abc", 12},
                               {"-7", -7},
                               {"2147483647", INT32_MAX},
                               {"4294967296", INT32_MAX},
                               {"99999999999999999999999", INT32_MAX},
                               {"-99999999999", INT32_MIN}})
        EXPECT_EQ(ui::leadingNumber(text), value) << text;
}

TEST(AddressTyping, ForeignCharactersFirstThenOnePerLargePiece) {
    const std::string address = "192.168.1.300";
    for (std::size_t length = 1; length < address.size(); ++length)
        EXPECT_EQ(ui::addressTypingWarnings(address.substr(0, length)), Warnings{}) << length;
    const std::pair<const char*, Warnings> cases[] = {
        {"192.168.1.300", {kOver255}},
        {"10a1", {kDigitsAndDots}},
        {"1x2y3z", Warnings(3, kDigitsAndDots)},
        // A Cyrillic letter is one character even though it takes two bytes.
        {"10.Ж", {kDigitsAndDots}},
        {"€", {kDigitsAndDots}},
        {"300.1.400.2", Warnings(2, kOver255)},
        {"a.300", {kDigitsAndDots, kOver255}},
        // Blanks and signs are foreign characters, and the piece is still read past them.
        {" 300", {kDigitsAndDots, kOver255}},
        {"-300", {kDigitsAndDots}},
        {"0255.0.0.0", {}},
        {"256", {kOver255}},
        {"1.99999999999", {kOver255}},
        {"....", {}},
        {"", {}}};
    for (const auto& [text, warnings] : cases)
        EXPECT_EQ(ui::addressTypingWarnings(text), warnings) << text;
}

TEST(AddressCompleteness, FirstFailingRuleNamesTheField) {
    const std::tuple<const char*, int, Warnings> cases[] = {
        {"10.0.0.", 2, {"Точка не должна быть последней в IP2"}},
        {"10..0.1", 2, {"Две точки подряд в IP2"}},
        {"10.0.0", 2, {"Неверный адрес IP2"}},
        {"1.2.3.4.5", 3, {"Неверный адрес IP3"}},
        // A trailing dot wins over a double dot and a wrong count.
        {"10..", 1, {"Точка не должна быть последней в IP1"}},
        {"1..2", 4, {"Две точки подряд в IP4"}},
        {"", 1, {}},
        {".1.2.3", 2, {}},
        {"10.0.0.1", 3, {}},
        {"1.2.3.999", 4, {}},
        {"0255.0.0.1", 1, {}}};
    for (const auto& [text, n, warnings] : cases)
        EXPECT_EQ(ui::addressCompletenessWarnings(text, n), warnings) << text;
}

TEST(PortCheck, DigitsAndRange) {
    const std::pair<const char*, Warnings> cases[] = {{"65536", {kOver65535}},
                                                      {"65535", {}},
                                                      {"0", {}},
                                                      {"", {}},
                                                      {"80a", {kDigits}},
                                                      {"8a0b", Warnings(2, kDigits)},
                                                      {"70000x", {kDigits, kOver65535}},
                                                      {"99999999999", {kOver65535}},
                                                      {"1.5", {kDigits}}};
    for (const auto& [text, warnings] : cases) EXPECT_EQ(ui::portWarnings(text), warnings) << text;
}

TEST(WarnEach, PlainOkBoxesInOrder) {
    platform::RecordingMessageService recorder;
    ui::warnEach({kDigitsAndDots, kOver255});
    const auto shown = recorder.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(recorder.texts(), (Warnings{kDigitsAndDots, kOver255}));
    for (const auto& m : shown) {
        EXPECT_EQ(m.caption, "");
        EXPECT_EQ(m.buttons, platform::MessageButtons::Ok);
    }
}

}  // namespace
