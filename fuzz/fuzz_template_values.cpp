// A configuration file read as what `vigil write` sends: any bytes either give a writable value in
// its parameter's domain, or name it missing or refused, never two of these; and the values taken
// save and read back unchanged (what was not taken saves as the window's empty controls would).
// fuzz-flags: -max_len=4096 -dict=fuzz/keys.dict
#include <cstdint>
#include <set>

#include "files/AbtFile.h"
#include "fuzz/FuzzSupport.h"
#include "protocol/ValueStore.h"
#include "session/TemplateValues.h"
#include "session/ValueDomain.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > protocol::TransmitBuffer::kCapacity) return 0;
    const auto file = session::readTemplateValues(data, static_cast<std::uint16_t>(size));
    fuzz::require(file.values.size() + file.missing.size() + file.invalid.size() ==
                      protocol::kFileItems.size(),
                  "every writable parameter is taken, missing or refused");
    std::set<const protocol::Parameter*> seen(file.missing.begin(), file.missing.end());
    for (const protocol::SentValue& v : file.values) {
        fuzz::require(seen.insert(v.parameter).second,
                      "a parameter is taken once, and not also missing");
        fuzz::require(session::linkValue(*v.parameter, v.parameter->form, v.value) == v.value,
                      "a value taken lies in its parameter's domain");
    }

    protocol::ValueStore values;
    protocol::restoreValues(values, file.values, {});
    protocol::TransmitBuffer buffer;
    if (!files::composeAbt(values, buffer).ok) return 0;  // over 4096 bytes once whole
    const auto again = session::readTemplateValues(buffer.data(), buffer.length());
    for (const protocol::SentValue& v : file.values) {
        bool same = false;
        for (const protocol::SentValue& w : again.values)
            same |= w.parameter == v.parameter && w.value == v.value;
        fuzz::require(same, "a value taken saves and reads back unchanged");
    }
    return 0;
}
