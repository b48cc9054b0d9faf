#include "tools/EncFile.h"

#include <algorithm>

#include "update/Crc16.h"
#include "update/ImageGrid.h"

namespace sim {

std::vector<std::uint8_t> makeImage(const std::vector<std::uint8_t>& payload,
                                    std::size_t recordPayload) {
    recordPayload = std::clamp<std::size_t>(recordPayload, 1, kMaxRecordPayload);
    std::vector<std::uint8_t> image;
    for (std::size_t pos = 0; pos < payload.size(); pos += recordPayload) {
        const std::size_t n = std::min(recordPayload, payload.size() - pos);
        const std::size_t L = n + 2;
        image.push_back(static_cast<std::uint8_t>(L >> 8));
        image.push_back(static_cast<std::uint8_t>(L));
        image.insert(image.end(), payload.begin() + static_cast<long>(pos),
                     payload.begin() + static_cast<long>(pos + n));
        const std::uint16_t crc = update::crc16Umts(payload.data() + pos, n);
        image.push_back(static_cast<std::uint8_t>(crc >> 8));
        image.push_back(static_cast<std::uint8_t>(crc));
    }
    return image;
}

std::string hexText(const std::vector<std::uint8_t>& image) {
    constexpr std::size_t kPerLine = 16;
    std::string text;
    text.reserve(image.size() * 3 + image.size() / kPerLine * 2 + 2);
    for (std::size_t i = 0; i < image.size(); ++i) {
        text += update::gridByteText(image[i]);
        const bool lineEnd = i % kPerLine == kPerLine - 1 || i + 1 == image.size();
        text += lineEnd ? "\r\n" : " ";
    }
    return text;
}

}  // namespace sim
