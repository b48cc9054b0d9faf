#include "cli/ConfigurationFile.h"

#include <cerrno>
#include <cstring>

#include "files/AbtFile.h"
#include "files/SaveFiles.h"
#include "protocol/TransmitBuffer.h"

namespace cli {

bool applyConfigurationFile(const std::string& path, protocol::ControlAccess& values,
                            std::string& error) {
    if (files::fileKindOf(path) != files::FileKind::Configuration) {
        error = path + ": not a configuration file (the name must end in \".abt\")";
        return false;
    }
    protocol::TransmitBuffer buffer;
    errno = 0;
    const files::LoadResult loaded = files::loadIntoBuffer(path, buffer);
    switch (loaded.status) {
    case files::LoadStatus::Loaded:
        files::readAbt(buffer.data(), buffer.length(), values);
        return true;
    case files::LoadStatus::CannotOpen:
        error = path + ": " + std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    default:
        error = loaded.message;
        return false;
    }
}

}  // namespace cli
