// Hostile answers and .abt images: the parse and the file reader must stay inside the data and
// only ever hand the controls values they can hold; a file written from any state must read
// back to that state.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/AbtFile.h"
#include "protocol/ParameterTable.h"
#include "protocol/ResponseParser.h"
#include "support/StoredControls.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > protocol::TransmitBuffer::kCapacity) return 0;
    // Copied so that reading one byte past the count is caught by the address sanitizer.
    std::string copy(reinterpret_cast<const char*>(data), size);
    auto count = static_cast<std::uint16_t>(size);
    auto* bytes = reinterpret_cast<const std::uint8_t*>(copy.data());

    test::StoredControls answered;
    protocol::parseReception(bytes, count, answered);
    test::StoredControls opened;
    files::readAbt(bytes, count, opened);

    // Whatever the reader produced, saving it and reading it back gives the same values.
    protocol::TransmitBuffer buffer;
    if (files::composeAbt(opened, buffer).ok) {
        test::StoredControls reopened;
        files::readAbt(buffer.data(), buffer.length(), reopened);
        auto before = opened.state();
        auto after = reopened.state();
        for (const protocol::Parameter* p : protocol::kFileItems)
            if (before[std::string(p->control)] != after[std::string(p->control)]) std::abort();
    }
    return 0;
}
