#include "session/EchoFilter.h"

#include <gtest/gtest.h>

namespace {

std::span<const std::uint8_t> bytes(std::string_view s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(EchoFilter, DropsTheEchoWhereverTheLineCutsItAndKeepsWhatProvesNotToBeIt) {
    session::EchoFilter echo;
    echo.expect("$Pass=Vostel:End:");
    EXPECT_EQ(echo.pass(bytes("$Pass=Vo")), "");
    EXPECT_EQ(echo.pass(bytes("stel:End:TL1=+7:")), "TL1=+7:");
    EXPECT_EQ(echo.pass(bytes("$Pass")), "$Pass");  // after the echo, nothing more is dropped

    // An answer that only starts like the request loses none of its bytes.
    echo.expect("$Pass=Vostel:End:");
    EXPECT_EQ(echo.pass(bytes("$P")), "");
    EXPECT_EQ(echo.pass(bytes("AS=1:")), "$PAS=1:");

    // A line without echo passes everything.
    echo.expect("$Pass=Vostel:End:");
    EXPECT_EQ(echo.pass(bytes("TL1=+7:")), "TL1=+7:");
}

}  // namespace
