#include "cli/InputText.h"

#include "platform/InputFile.h"

namespace cli {

std::optional<std::string> readInputText(const std::string& path, std::size_t maxBytes,
                                         std::string& error) {
    platform::InputFile file = platform::readInputFile(path, maxBytes);
    if (file.status == platform::InputStatus::Read) return std::move(file.bytes);
    error = path + ": " + file.reason;
    return std::nullopt;
}

}  // namespace cli
