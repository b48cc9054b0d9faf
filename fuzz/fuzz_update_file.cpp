// An update file of arbitrary text through the reader the window uses (a stream) and the record
// check. The text must give the same image read as a stream, read whole, or fed in pieces of any
// size; the check must report the first failing record, reading nothing past the loaded bytes.
#include <cstdint>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/RecordWalk.h"
#include "update/ImageGrid.h"
#include "update/UpdateFile.h"

namespace {

bool sameImage(const update::FirmwareImage& a, const update::FirmwareImage& b) {
    return a.ImageLength == b.ImageLength &&
           std::memcmp(a.ImageBuffer.data(), b.ImageBuffer.data(), a.ImageLength) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // 256 KiB each: kept for the whole run rather than on the stack.
    static const auto streamed = std::make_unique<update::FirmwareImage>();
    static const auto whole = std::make_unique<update::FirmwareImage>();
    static const auto pieces = std::make_unique<update::FirmwareImage>();

    fuzz::Input in(data, size);
    const std::size_t pieceSize = 1 + in.byte() % 64;
    const auto rest = in.rest();
    const std::string text(reinterpret_cast<const char*>(rest.data()), rest.size());

    std::istringstream file(text);
    const update::ReadStatus status = update::readHexText(file, *streamed);
    fuzz::require(update::readHexText(text, *whole) == status && sameImage(*streamed, *whole),
                  "a stream and the whole text give the same image");
    update::HexTextReader reader(*pieces);
    for (std::size_t at = 0; at < text.size(); at += pieceSize)
        if (!reader.feed(text.data() + at, std::min(pieceSize, text.size() - at))) break;
    reader.finish();
    fuzz::require(sameImage(*streamed, *pieces) &&
                      reader.overflowed() == (status == update::ReadStatus::TooLarge),
                  "pieces of any size give the same image");
    fuzz::require(streamed->ImageLength <= text.size(), "at most one byte per character");

    const std::uint32_t length = streamed->ImageLength;
    if (length > 0) {
        const int rows = update::gridRowCount(length);
        const update::GridCell last = update::gridCellOf(length - 1);
        fuzz::require(last.row == rows - 1 && last.column >= 1 && last.column <= 8,
                      "the last byte is shown in the last grid row");
    }
    // Checked in an exactly sized copy, so that a read past the loaded bytes is caught.
    const std::vector<std::uint8_t> image(streamed->ImageBuffer.begin(),
                                          streamed->ImageBuffer.begin() + length);
    fuzz::requireExpectedCheck(image.data(), length, update::CrcCheck::Compare);
    return 0;
}
