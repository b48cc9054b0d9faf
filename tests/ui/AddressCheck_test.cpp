#include "ui/AddressCheck.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/RecordingMessageService.h"

namespace {

using Warnings = std::vector<std::string>;
const std::string kDigitsAndDots = "Только цифры и точки";
const std::string kOver255 = "Не более 255";

TEST(LeadingNumber, ReadsLikeTheCLibraryOn32Bits) {
    EXPECT_EQ(ui::leadingNumber(""), 0);
    EXPECT_EQ(ui::leadingNumber("abc"), 0);
    EXPECT_EQ(ui::leadingNumber(" \t+12abc"), 12);
    EXPECT_EQ(ui::leadingNumber("-7"), -7);
    EXPECT_EQ(ui::leadingNumber("2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ui::leadingNumber("4294967296"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ui::leadingNumber("99999999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(ui::leadingNumber("-99999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(AddressTyping, WarnsOnlyWhenThePieceGoesOver255) {
    const std::string address = "192.168.1.300";
    for (std::size_t length = 1; length < address.size(); ++length)
        EXPECT_EQ(ui::addressTypingWarnings(address.substr(0, length)), Warnings{})
            << address.substr(0, length);
    EXPECT_EQ(ui::addressTypingWarnings(address), Warnings{kOver255});
}

TEST(AddressTyping, OneWarningPerForeignCharacterOnEveryChange) {
    EXPECT_EQ(ui::addressTypingWarnings("10a"), Warnings{kDigitsAndDots});
    EXPECT_EQ(ui::addressTypingWarnings("10a1"), Warnings{kDigitsAndDots});
    EXPECT_EQ(ui::addressTypingWarnings("1x2y3z"), Warnings(3, kDigitsAndDots));
    // A Cyrillic letter is one character even though it takes two bytes.
    EXPECT_EQ(ui::addressTypingWarnings("10.Ж"), Warnings{kDigitsAndDots});
    EXPECT_EQ(ui::addressTypingWarnings("€"), Warnings{kDigitsAndDots});
}

TEST(AddressTyping, ForeignCharactersFirstThenOnePerLargePiece) {
    EXPECT_EQ(ui::addressTypingWarnings("300.1.400.2"), Warnings(2, kOver255));
    EXPECT_EQ(ui::addressTypingWarnings("a.300"), (Warnings{kDigitsAndDots, kOver255}));
    // Blanks and signs are foreign characters, and the piece is still read past them.
    EXPECT_EQ(ui::addressTypingWarnings(" 300"), (Warnings{kDigitsAndDots, kOver255}));
    EXPECT_EQ(ui::addressTypingWarnings("-300"), Warnings{kDigitsAndDots});
    EXPECT_EQ(ui::addressTypingWarnings("0255.0.0.0"), Warnings{});
    EXPECT_EQ(ui::addressTypingWarnings("256"), Warnings{kOver255});
    EXPECT_EQ(ui::addressTypingWarnings("1.99999999999"), Warnings{kOver255});
    EXPECT_EQ(ui::addressTypingWarnings("...."), Warnings{});
    EXPECT_EQ(ui::addressTypingWarnings(""), Warnings{});
}

TEST(AddressCompleteness, FirstFailingRuleNamesTheField) {
    EXPECT_EQ(ui::addressCompletenessWarnings("10.0.0.", 2),
              Warnings{"Точка не должна быть последней в IP2"});
    EXPECT_EQ(ui::addressCompletenessWarnings("10..0.1", 2), Warnings{"Две точки подряд в IP2"});
    EXPECT_EQ(ui::addressCompletenessWarnings("10.0.0", 2), Warnings{"Неверный адрес IP2"});
    EXPECT_EQ(ui::addressCompletenessWarnings("1.2.3.4.5", 3), Warnings{"Неверный адрес IP3"});
    // A trailing dot wins over a double dot and a wrong count.
    EXPECT_EQ(ui::addressCompletenessWarnings("10..", 1),
              Warnings{"Точка не должна быть последней в IP1"});
    EXPECT_EQ(ui::addressCompletenessWarnings("1..2", 4), Warnings{"Две точки подряд в IP4"});
}

TEST(AddressCompleteness, AcceptsSilently) {
    for (const char* text : {"", ".1.2.3", "10.0.0.1", "1.2.3.999", "0255.0.0.1"})
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(ui::addressCompletenessWarnings(text, n), Warnings{}) << text << " IP" << n;
}

TEST(PortCheck, DigitsAndRange) {
    EXPECT_EQ(ui::portWarnings("65536"), Warnings{"Не более 65535"});
    EXPECT_EQ(ui::portWarnings("65535"), Warnings{});
    EXPECT_EQ(ui::portWarnings("0"), Warnings{});
    EXPECT_EQ(ui::portWarnings(""), Warnings{});
    EXPECT_EQ(ui::portWarnings("80a"), Warnings{"Только цифры"});
    EXPECT_EQ(ui::portWarnings("8a0b"), Warnings(2, "Только цифры"));
    EXPECT_EQ(ui::portWarnings("70000x"), (Warnings{"Только цифры", "Не более 65535"}));
    EXPECT_EQ(ui::portWarnings("99999999999"), Warnings{"Не более 65535"});
    EXPECT_EQ(ui::portWarnings("1.5"), Warnings{"Только цифры"});
}

TEST(WarnEach, PlainOkBoxesInOrder) {
    platform::RecordingMessageService recorder;
    ui::warnEach(ui::addressTypingWarnings("x.300"));
    const auto shown = recorder.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, kDigitsAndDots);
    EXPECT_EQ(shown[1].text, kOver255);
    for (const auto& m : shown) {
        EXPECT_EQ(m.caption, "");
        EXPECT_EQ(m.buttons, platform::MessageButtons::Ok);
    }
}

}  // namespace
