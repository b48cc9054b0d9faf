#include "update/UpdateFileRead.h"

#include "platform/AtomicFile.h"
#include "platform/InputFile.h"

namespace update {

UpdateFileRead readUpdateFile(const std::string& path, FirmwareImage& image) {
    const platform::InputFile file = platform::readInputFile(path, platform::kMaxUpdateFileBytes);
    switch (file.status) {
        case platform::InputStatus::Read:
            break;
        case platform::InputStatus::CannotOpen:
            return {UpdateFileStatus::CannotOpen, file.reason};
        case platform::InputStatus::NotRegular:
        case platform::InputStatus::TooLarge:
            return {UpdateFileStatus::Refused, platform::refusalText(path, file)};
        case platform::InputStatus::Failed:
            image.ImageLength = 0;
            return {UpdateFileStatus::ReadFailed,
                    platform::fileError("Не удалось прочитать файл", path, file.error)};
    }
    if (readHexText(file.bytes, image) == ReadStatus::TooLarge) {
        image.ImageLength = 0;
        return {UpdateFileStatus::TooLarge, tooLargeText()};
    }
    return {UpdateFileStatus::Loaded, ""};
}

}  // namespace update
