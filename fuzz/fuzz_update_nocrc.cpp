// The record check with the CRC comparison skipped, so that the fuzzer reaches the records behind
// the first one: the input is the image itself. The check must walk exactly the record layout, and
// comparing the CRCs may only turn a result into a CRC error at or before the same record.
#include <cstdint>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordWalk.h"
#include "update/UpdateFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > update::kImageBufferSize) return 0;
    const auto length = static_cast<std::uint32_t>(size);
    const update::RecordCheck walked =
        fuzz::requireExpectedCheck(data, length, update::CrcCheck::Skip);
    fuzz::require(walked.kind != update::RecordErrorKind::Crc, "no CRC error without the CRC");
    fuzz::require(walked.ok() || walked.code < length, "a format error names a record inside");

    const update::RecordCheck checked =
        fuzz::requireExpectedCheck(data, length, update::CrcCheck::Compare);
    if (checked.kind == update::RecordErrorKind::Crc)
        fuzz::require(walked.ok() || checked.code <= walked.code,
                      "a CRC error comes no later than the first format error");
    else
        fuzz::require(checked.kind == walked.kind && checked.code == walked.code,
                      "without a CRC error both checks agree");
    return 0;
}
