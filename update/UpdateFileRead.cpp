#include "update/UpdateFileRead.h"

#include <sys/stat.h>

#include <cerrno>

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
            // Reading a folder fails as a read does; a FIFO or a device is never opened.
            if (S_ISDIR(file.mode)) {
                image.ImageLength = 0;
                return {UpdateFileStatus::ReadFailed,
                        platform::fileError("Не удалось прочитать файл", path, EISDIR)};
            }
            [[fallthrough]];
        case platform::InputStatus::TooLarge:
            return {UpdateFileStatus::Refused,
                    "Файл \"" + path + "\" не открыт: " + file.reason + "."};
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
