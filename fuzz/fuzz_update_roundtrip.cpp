// Arbitrary payloads made into records with valid CRCs, written as hexadecimal text in one of
// several layouts (separators, letter case, line lengths, a trailing end mark), then loaded as the
// window loads an update file: the image must pass the check and hold exactly the bytes written.
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "update/Crc16.h"
#include "update/UpdateFile.h"

namespace {

std::vector<std::uint8_t> recordsFrom(fuzz::Input& in) {
    std::vector<std::uint8_t> image;
    while (in.left() > 0) {
        const std::size_t wanted = (in.byte() * 256u + in.byte()) % (update::kMaxRecordLength - 1);
        const auto payload = in.take(wanted);
        const std::size_t L = payload.size() + 2;  // the CRC follows the payload
        if (image.size() + 2 + L > update::kImageBufferSize) break;
        const std::uint16_t crc = update::crc16Umts(payload.data(), payload.size());
        image.push_back(static_cast<std::uint8_t>(L >> 8));
        image.push_back(static_cast<std::uint8_t>(L & 0xFF));
        image.insert(image.end(), payload.begin(), payload.end());
        image.push_back(static_cast<std::uint8_t>(crc >> 8));
        image.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    }
    return image;
}

// The layout is picked by the bits of `style`.
std::string hexText(const std::vector<std::uint8_t>& image, std::uint8_t style) {
    static constexpr std::string_view kSeparators[] = {"", " ", "\r\n", "\t", "  \n"};
    const char* digits = (style & 0x01) ? "0123456789abcdef" : "0123456789ABCDEF";
    const std::string_view separator = kSeparators[(style >> 1) % std::size(kSeparators)];
    const std::size_t perLine = (style & 0x10) ? 16 : 0;
    std::string text = (style & 0x20) ? " \r\n" : "";
    for (std::size_t i = 0; i < image.size(); ++i) {
        text += digits[image[i] >> 4];
        text += digits[image[i] & 0x0F];
        text += separator;
        if (perLine && i % perLine == perLine - 1) text += "\r\n";
    }
    if (style & 0x40) text += "\x1A; whatever follows the end is ignored";
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const auto loaded = std::make_unique<update::FirmwareImage>();
    fuzz::Input in(data, size);
    const std::uint8_t style = in.byte();
    const std::vector<std::uint8_t> image = recordsFrom(in);

    std::istringstream file(hexText(image, style));
    fuzz::require(update::readHexText(file, *loaded) == update::ReadStatus::Ok, "the image fits");
    fuzz::require(loaded->ImageLength == image.size() &&
                      (image.empty() ||
                       std::memcmp(loaded->ImageBuffer.data(), image.data(), image.size()) == 0),
                  "the loaded image holds exactly the bytes written");
    fuzz::require(update::checkRecords(*loaded).ok(), "records with valid CRCs pass the check");
    return 0;
}
