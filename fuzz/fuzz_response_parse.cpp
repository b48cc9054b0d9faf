// One reception of arbitrary bytes through the whole answer parse, over map-backed controls that
// refuse any value the window's controls could not hold. The server export composed from what was
// received must then be well-formed XML that fits the transmit buffer, or be refused cleanly; so
// must a write request of every group sent back with those values.
// A reception is at most 2048 bytes (the port's InSize):
// fuzz-flags: -max_len=2048 -dict=fuzz/keys.dict
#include <cstdint>
#include <cstdio>

#include "files/ServerExport.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/WindowTexts.h"
#include "fuzz/XmlCheck.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "support/MapControls.h"

namespace {}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::abortOnTestFailure();
    // libFuzzer's copy of the input is allocated to its exact size, so a read past the count is
    // caught; the receive buffer holds 4096 bytes.
    if (size > protocol::TransmitBuffer::kCapacity) return 0;
    test::MapControls controls;
    protocol::parseReception(data, static_cast<std::uint16_t>(size), controls);
    fuzz::holdAsTheWindowDoes(controls);

    protocol::TransmitBuffer buffer;
    const protocol::ComposedRequest request =
        protocol::composeRequest(controls, protocol::mask::WriteAll, buffer);
    if (request.ok) {
        const std::string_view sent = buffer.view();
        fuzz::require(sent.starts_with("$Pass=" + std::string(protocol::kPassword) + ":") &&
                          sent.ends_with("End:"),
                      "a request has its prefix and its end");
    } else {
        fuzz::require(buffer.length() == 0 && !request.message.empty(),
                      "a refused request leaves an empty buffer and says why");
    }

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
