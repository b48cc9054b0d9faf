// One reception of arbitrary bytes through the whole answer parse, over map-backed controls that
// refuse any value the window's controls could not hold. The server export composed from what was
// received must then be well-formed XML that fits the transmit buffer, or be refused cleanly.
#include <cstdint>
#include <cstdio>

#include "files/ServerExport.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/WindowTexts.h"
#include "fuzz/XmlCheck.h"
#include "protocol/ResponseParser.h"
#include "support/MapControls.h"

namespace {


}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::abortOnTestFailure();
    // A reception lands in the 4096-byte receive buffer; libFuzzer's copy of the input is
    // allocated to its exact size, so a read past the count is caught.
    if (size > protocol::TransmitBuffer::kCapacity) return 0;
    test::MapControls controls;
    protocol::parseReception(data, static_cast<std::uint16_t>(size), controls);
    fuzz::holdAsTheWindowDoes(controls);

    protocol::TransmitBuffer buffer;
    const protocol::ComposeResult exported = files::composeServerExport(controls, buffer);
    if (!exported.ok) {
        fuzz::require(buffer.length() == 0 && !exported.message.empty(),
                      "a refused export leaves an empty buffer and says why");
        return 0;
    }
    fuzz::require(buffer.length() <= protocol::TransmitBuffer::kCapacity, "the export fits");
    const std::string problem = fuzz::xmlProblem(buffer.view());
    if (!problem.empty()) {
        std::fprintf(stderr, "export: %s\n", problem.c_str());
        fuzz::fail("the export is well-formed XML");
    }
    return 0;
}
