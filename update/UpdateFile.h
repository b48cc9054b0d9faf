#pragma once
// The update file (".enc"): firmware image bytes written as hexadecimal text, and the check of the
// records the image is made of (2-byte big-endian length L, then L body bytes ending in a CRC).
//
// The main window owns one FirmwareImage for the whole run, reads the chosen file into it with
// readHexText, fills ProgramGrid1 from it (update/ImageGrid.h) and runs checkRecords; a failing
// check is shown with recordErrorText and disables BUpgrade. Everything here is pure: no files are
// opened, no message is shown.
#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "update/Crc16.h"
#include "update/ImageGrid.h"

namespace update {

constexpr std::size_t kImageBufferSize = 262144;  // bytes, 256 KiB
constexpr std::uint16_t kMaxRecordLength = 1042;  // largest L: 1040 payload bytes and the CRC
constexpr std::size_t kLengthFieldSize = 2;

// Large (256 KiB): keep it in a heap object such as the main window.
struct FirmwareImage {
    std::array<std::uint8_t, kImageBufferSize> ImageBuffer{};
    std::uint32_t ImageLength = 0;
};

// Reads hexadecimal numbers of at most two digits, skipping whitespace before each; a longer run
// of digits is taken two at a time from the left. Reading ends at the first other character.
// Feed it the file in pieces of any size.
class HexTextReader {
  public:
    explicit HexTextReader(FirmwareImage& image);
    // Takes the next piece of text; returns false once reading has ended (a character that is
    // neither whitespace nor a digit, or a number that no longer fits), so the rest can be skipped.
    bool feed(const char* text, std::size_t length);
    // Completes a pending one-digit number at the end of the text.
    void finish();
    // More numbers than ImageBuffer holds: nothing past it was written.
    bool overflowed() const { return overflowed_; }

  private:
    void put(std::uint8_t value);

    FirmwareImage& image_;
    int pendingDigit_ = -1;
    bool ended_ = false;
    bool overflowed_ = false;
};

enum class ReadStatus { Ok, TooLarge };

// Reads the whole text into image (from offset 0, ImageLength counting the numbers).
// TooLarge: the file holds more numbers than fit; the caller refuses the file (tooLargeText)
// and sets ImageLength to 0.
ReadStatus readHexText(std::string_view text, FirmwareImage& image);
ReadStatus readHexText(std::istream& in, FirmwareImage& image);

enum class RecordErrorKind { None, Format, Crc };

struct RecordCheck {
    RecordErrorKind kind = RecordErrorKind::None;
    std::uint32_t code = 0;  // image offset reported with the error
    bool ok() const { return kind == RecordErrorKind::None; }
};

// Whether the record check compares the CRCs. The program always does; fuzzing skips it to reach
// the records behind a first one.
enum class CrcCheck { Compare, Skip };

// Walks the records from offset 0. Format error (code: the record's own offset): L above 1042,
// L = 0, a length field or a body that reaches past the loaded bytes. CRC error (code: the offset
// just after the failing record). Only the first failing record is reported; no byte outside
// the first `length` is read.
RecordCheck checkRecords(const std::uint8_t* image, std::uint32_t length,
                         CrcCheck crc = CrcCheck::Compare);
inline RecordCheck checkRecords(const FirmwareImage& image) {
    return checkRecords(image.ImageBuffer.data(), image.ImageLength);
}

// The code as upper-case hexadecimal, at least five digits: 00000, 00414, 3FFFE.
std::string errorCodeText(std::uint32_t code);
// The message box text (UTF-8) for a failed check; empty for a passing one.
std::string recordErrorText(const RecordCheck& check);
std::string formatErrorText(std::uint32_t code);
std::string crcErrorText(std::uint32_t code);
// The message for a file that does not fit into ImageBuffer.
std::string tooLargeText();

}  // namespace update
