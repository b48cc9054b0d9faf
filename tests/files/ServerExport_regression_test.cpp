// Answers found by fuzzing the export composed from received values.
#include <gtest/gtest.h>

#include <string>

#include "files/ServerExport.h"
#include "protocol/ResponseParser.h"
#include "support/MapControls.h"

namespace {

using protocol::TransmitBuffer;

// A control character from the line went into the export as it was; XML 1.0 forbids it (even as
// a reference), so the server's parser would refuse the whole file. The save is refused instead,
// naming the field; tab and line ends are still exported.
TEST(ServerExportRegression, ControlCharactersFromTheLineAreRefusedNamingTheField) {
    const std::string answer = "TL1=<tel2>&amp;</\x04" "ab\r\nOK\r\n:End:";
    test::MapControls controls;
    protocol::parseReception(reinterpret_cast<const std::uint8_t*>(answer.data()),
                             static_cast<std::uint16_t>(answer.size()), controls);
    ASSERT_EQ(controls.text("ETl1").value(), "<tel2>&amp;</\x04" "ab\r\nOK\r\n");

    TransmitBuffer buffer;
    protocol::ComposeResult r = files::composeServerExport(controls, buffer);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("\"TL1\""), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("XML"), std::string::npos) << r.message;
    EXPECT_EQ(buffer.length(), 0);

    for (int byte = 0; byte < 0x20; ++byte) {
        test::MapControls one;
        one.setText("EApas1", std::string("a") + static_cast<char>(byte) + "b");
        const bool allowed = byte == '\t' || byte == '\r' || byte == '\n';
        EXPECT_EQ(files::composeServerExport(one, buffer).ok, allowed) << "byte " << byte;
    }
}

}  // namespace
