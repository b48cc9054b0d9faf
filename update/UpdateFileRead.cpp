#include "update/UpdateFileRead.h"

#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/InputFile.h"

namespace update {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEFabcdef";

std::optional<std::size_t> cutBeforeMoreDigits(std::string_view text) {
    const std::size_t end = text.find_first_not_of("0123456789ABCDEFabcdef \t\r\n\v\f");
    if (end == std::string_view::npos ||
        text.find_first_of(kHexDigits, end) == std::string_view::npos)
        return std::nullopt;
    return end;
}

}  // namespace

UpdateFileRead readUpdateFile(const std::string& path, FirmwareImage& image) {
    const platform::InputFile file = platform::readInputFile(path, platform::kMaxUpdateFileBytes);
    switch (file.status) {
        case platform::InputStatus::Read:
            break;
        case platform::InputStatus::CannotOpen:
            return {UpdateFileStatus::CannotOpen, file.reason, {}};
        case platform::InputStatus::NotRegular:
        case platform::InputStatus::TooLarge:
            return {UpdateFileStatus::Refused, platform::refusalText(path, file), {}};
        case platform::InputStatus::Failed:
            image.ImageLength = 0;
            return {UpdateFileStatus::ReadFailed,
                    platform::fileError(
                        platform::translated("UpdateFileRead", "Не удалось прочитать файл"), path,
                        file.error),
                    {}};
    }
    if (readHexText(file.bytes, image) == ReadStatus::TooLarge) {
        image.ImageLength = 0;
        return {UpdateFileStatus::TooLarge, tooLargeText(), {}};
    }
    return {UpdateFileStatus::Loaded, "", cutBeforeMoreDigits(file.bytes)};
}

}  // namespace update
