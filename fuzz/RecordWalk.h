#pragma once
// What the record check of an update image must report, walked here from the record layout
// alone: records of a 2-byte big-endian length L (1 to 1042) and L body bytes follow one another
// from offset 0 to the end of the image; the first record that does not fit is a format error at
// its own offset, the first whose body leaves the CRC register non-zero a CRC error at the offset
// after it.
#include <cstdint>
#include <cstdio>

#include "fuzz/FuzzSupport.h"
#include "update/UpdateFile.h"

namespace fuzz {

inline update::RecordCheck expectedCheck(const std::uint8_t* image, std::uint32_t length,
                                         update::CrcCheck crc) {
    using update::RecordErrorKind;
    std::uint32_t pos = 0;
    while (pos < length) {
        if (length - pos < 2) return {RecordErrorKind::Format, pos};
        const std::uint32_t L = image[pos] * 256u + image[pos + 1];
        if (L == 0 || L > update::kMaxRecordLength || L > length - pos - 2)
            return {RecordErrorKind::Format, pos};
        const std::uint16_t r = update::crc16Register(image + pos + 2, L);
        pos += 2 + L;
        if (crc == update::CrcCheck::Compare && r != 0) return {RecordErrorKind::Crc, pos};
    }
    return {};
}

// Runs the check as the program does and compares it with the walk above.
inline update::RecordCheck requireExpectedCheck(const std::uint8_t* image, std::uint32_t length,
                                                update::CrcCheck crc) {
    const update::RecordCheck got = update::checkRecords(image, length, crc);
    const update::RecordCheck want = expectedCheck(image, length, crc);
    if (got.kind != want.kind || got.code != want.code) {
        std::fprintf(stderr, "check: kind %d code %05X, expected kind %d code %05X\n",
                     static_cast<int>(got.kind), static_cast<unsigned>(got.code),
                     static_cast<int>(want.kind), static_cast<unsigned>(want.code));
        fail("the record check reports the first record that fails");
    }
    require(got.ok() == update::recordErrorText(got).empty(), "only a failed check has a message");
    return got;
}

}  // namespace fuzz
