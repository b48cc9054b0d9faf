#pragma once
// What ProgramGrid1 shows of the image: column 0 holds the address of the row, columns 1 to 8 the
// eight bytes of the row, each as two upper-case hexadecimal digits.
#include <cstdint>
#include <string>

namespace update {

constexpr int kGridBytesPerRow = 8;
constexpr int kGridColumns = kGridBytesPerRow + 1;
constexpr int kGridRowsBeforeLoad = 11;

// Rows for an image of `length` bytes: one per started group of eight.
int gridRowCount(std::uint32_t length);
// Address column of row r: 8·r as five upper-case hexadecimal digits ("00000", "00008", "00010").
std::string gridAddressText(int row);
// Byte cell text: "0A", "FF".
std::string gridByteText(std::uint8_t byte);

struct GridCell {
    int row;
    int column;
};
// Where the image byte at offset p is shown.
GridCell gridCellOf(std::uint32_t offset);

}  // namespace update
