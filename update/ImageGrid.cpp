#include "update/ImageGrid.h"

#include <cstdio>

namespace update {

int gridRowCount(std::uint32_t length) {
    return static_cast<int>(length / kGridBytesPerRow + (length % kGridBytesPerRow != 0 ? 1 : 0));
}

std::string gridAddressText(int row) {
    char text[16];
    std::snprintf(text, sizeof text, "%05X", static_cast<unsigned>(row) * kGridBytesPerRow);
    return text;
}

std::string gridByteText(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

GridCell gridCellOf(std::uint32_t offset) {
    return {static_cast<int>(offset / kGridBytesPerRow),
            static_cast<int>(offset % kGridBytesPerRow) + 1};
}

}  // namespace update
