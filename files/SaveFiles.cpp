#include "files/SaveFiles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "files/AbtFile.h"
#include "files/ServerExport.h"
#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/InputFile.h"

namespace files {
namespace {

constexpr std::string_view kConfigurationExtension = ".abt";
constexpr std::string_view kUpdateExtension = ".enc";
constexpr std::string_view kBackupExtension = ".BAK";
// A file this long cannot be one this program saved; it is not copied into a backup.
constexpr std::size_t kMaxReplacedFileBytes = 64u << 20;

std::size_t nameStart(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void addError(std::vector<std::string>& errors, std::string error) {
    if (!error.empty()) errors.push_back(std::move(error));
}

// Writes the configuration; its previous content moves to the backup only together with it.
// A link is followed by PendingFile (platform/FileTarget.h); reading through it reads its file.
void saveAbt(const std::string& name, std::string_view image, std::vector<std::string>& errors) {
    platform::PendingFile abt;
    std::string error = abt.prepare(name, image);
    if (!error.empty()) return addError(errors, error);

    const std::string backupName = backupFileName(name);
    platform::PendingFile backup;
    if (exists(name) && backupName != name) {
        // Bounded and checked like any file read, in case something else took its place.
        const platform::InputFile previous = platform::readInputFile(name, kMaxReplacedFileBytes);
        if (previous.status != platform::InputStatus::Read)
            return addError(
                errors, platform::translated("SaveFiles", "Не удалось прочитать файл \"") + name +
                            "\": " + previous.reason);
        error = backup.prepare(backupName, previous.bytes);
        if (error.empty()) error = backup.commit();
        if (!error.empty()) return addError(errors, error);
    }
    addError(errors, abt.commit());
}

}  // namespace

std::string configurationFileName(const std::string& chosen) {
    // Judged on the name alone, so a dot in a folder name does not count as an extension.
    std::size_t nameLength = chosen.size() - nameStart(chosen);
    if (nameLength >= 4 && chosen[chosen.size() - 4] == '.') return chosen;
    return chosen + std::string(kConfigurationExtension);
}

std::string backupFileName(const std::string& replaced) {
    std::size_t start = nameStart(replaced);
    std::size_t dot = replaced.rfind('.');
    std::size_t end = dot != std::string::npos && dot >= start ? dot : replaced.size();
    return replaced.substr(0, end) + std::string(kBackupExtension);
}

std::vector<std::string> saveConfiguration(const std::string& chosen,
                                           const protocol::ControlAccess& controls,
                                           protocol::TransmitBuffer& buffer) {
    // Both images first: content that cannot be saved touches no file.
    protocol::ComposeResult composed = composeAbt(controls, buffer);
    if (!composed.ok) return {composed.message};
    const std::string image(buffer.view());
    composed = composeServerExport(controls, buffer);
    if (!composed.ok) {
        buffer.clear();
        return {composed.message};
    }
    const std::string exportImage(buffer.view());
    buffer.clear();

    std::vector<std::string> errors;
    saveAbt(configurationFileName(chosen), image, errors);
    addError(errors, platform::writeFileAtomically(std::string(kExportFileName), exportImage));
    return errors;
}

FileKind fileKindOf(std::string_view path) {
    std::string_view name = path.substr(nameStart(path));
    std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return FileKind::Other;
    std::string_view extension = name.substr(dot);
    if (extension == kUpdateExtension) return FileKind::Update;
    if (extension == kConfigurationExtension) return FileKind::Configuration;
    return FileKind::Other;
}

LoadResult loadIntoBuffer(const std::string& path, protocol::TransmitBuffer& buffer) {
    const platform::InputFile file =
        platform::readInputFile(path, protocol::TransmitBuffer::kCapacity);
    switch (file.status) {
        case platform::InputStatus::Read:
            break;
        case platform::InputStatus::CannotOpen:
            return {LoadStatus::CannotOpen, file.reason};
        case platform::InputStatus::NotRegular:
            return {LoadStatus::NotRegular, platform::refusalText(path, file)};
        case platform::InputStatus::TooLarge:
            return {LoadStatus::TooLong,
                    platform::translated("SaveFiles", "Файл \"") + path +
                        platform::translated("SaveFiles",
                                             "\" длиннее 4096 байт и не может быть открыт как "
                                             "файл конфигурации.")};
        case platform::InputStatus::Failed:
            return {
                LoadStatus::ReadFailed,
                platform::fileError(platform::translated("SaveFiles", "Не удалось прочитать файл"),
                                    path, file.error)};
    }
    std::memcpy(buffer.data(), file.bytes.data(), file.bytes.size());
    buffer.setLength(static_cast<std::uint16_t>(file.bytes.size()));
    return {LoadStatus::Loaded, ""};
}

}  // namespace files
