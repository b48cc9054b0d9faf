#include "files/SaveFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "files/AbtFile.h"
#include "files/AtomicFile.h"
#include "files/ServerExport.h"

namespace files {
namespace {

constexpr std::string_view kConfigurationExtension = ".abt";
constexpr std::string_view kUpdateExtension = ".enc";
constexpr std::string_view kBackupExtension = ".BAK";

std::size_t nameStart(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? 0 : slash + 1;
}

bool readWhole(const std::string& path, std::string& content, int& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    content.clear();
    std::array<char, 65536> chunk;
    for (;;) {
        ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        content.append(chunk.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

void addError(std::vector<std::string>& errors, std::string error) {
    if (!error.empty()) errors.push_back(std::move(error));
}

// Writes the configuration; its previous content moves to the backup only together with it.
// A link is followed by PendingFile (files/FileTarget.h); reading through it reads its file.
void saveAbt(const std::string& name, std::string_view image, std::vector<std::string>& errors) {
    PendingFile abt;
    std::string error = abt.prepare(name, image);
    if (!error.empty()) return addError(errors, error);

    const std::string backupName = backupFileName(name);
    PendingFile backup;
    if (exists(name) && backupName != name) {
        std::string previous;
        int readError = 0;
        if (!readWhole(name, previous, readError))
            return addError(errors, fileError("Не удалось прочитать файл", name, readError));
        error = backup.prepare(backupName, previous);
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
    addError(errors, writeFileAtomically(std::string(kExportFileName), exportImage));
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
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {LoadStatus::CannotOpen, ""};
    // One byte more than fits tells a file that is too long.
    std::array<std::uint8_t, protocol::TransmitBuffer::kCapacity + 1> bytes;
    std::size_t count = 0;
    while (count < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + count, bytes.size() - count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int error = errno;
            ::close(fd);
            return {LoadStatus::ReadFailed, fileError("Не удалось прочитать файл", path, error)};
        }
        if (n == 0) break;
        count += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (count > protocol::TransmitBuffer::kCapacity)
        return {LoadStatus::TooLong, "Файл \"" + path +
                                         "\" длиннее 4096 байт и не может быть открыт как "
                                         "файл конфигурации."};
    std::memcpy(buffer.data(), bytes.data(), count);
    buffer.setLength(static_cast<std::uint16_t>(count));
    return {LoadStatus::Loaded, ""};
}

}  // namespace files
