// Windows-1251 at the boundary: exact bytes, and refusal instead of replacement.
#include "protocol/Cp1251.h"

#include <gtest/gtest.h>

namespace {

using protocol::fromCp1251;
using protocol::toCp1251;

TEST(Cp1251, ExactBytesAndRoundTrips) {
    EXPECT_EQ(toCp1251("Телефоны"), "\xD2\xE5\xEB\xE5\xF4\xEE\xED\xFB");
    EXPECT_EQ(toCp1251("Ёё №"), "\xA8\xB8 \xB9");
    EXPECT_EQ(toCp1251("TL1=+7:"), "TL1=+7:");
    EXPECT_EQ(fromCp1251("\xC8\xE2\xE0\xED"), "Иван");
    for (int b = 1; b < 256; ++b) {
        std::string byte(1, static_cast<char>(b));
        auto text = fromCp1251(byte);
        ASSERT_EQ(text.has_value(), b != 0x98) << b;  // the one byte the code page leaves out
        EXPECT_EQ(toCp1251(text.value_or("")).value_or(""), b == 0x98 ? "" : byte) << b;
    }
}

TEST(Cp1251, CharactersOutsideTheCodePageAreRefused) {
    EXPECT_FALSE(toCp1251("中"));
    EXPECT_FALSE(toCp1251("abc\xF0\x9F\x98\x80"));  // an emoji after good text
    EXPECT_FALSE(toCp1251("\xC3"));                 // cut UTF-8
    EXPECT_EQ(protocol::fromCp1251ForDisplay("A\x98\xC0"), "A\xEF\xBF\xBD\xD0\x90");
}

}  // namespace
