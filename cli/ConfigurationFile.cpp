#include "cli/ConfigurationFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "files/FileTarget.h"
#include "files/SaveFiles.h"
#include "protocol/TransmitBuffer.h"
#include "protocol/WriteCheck.h"

namespace cli {

protocol::ValueStore ConfigurationFile::valuesOver(const protocol::ValueStore& terminal) const {
    protocol::ValueStore values = terminal;
    protocol::restoreValues(values, file.values, {});
    return values;
}

std::vector<std::string> ConfigurationFile::unkeepable(
    std::string_view terminalAnswer, const std::set<const protocol::Parameter*>& given) const {
    // The answer's keys are the file's, upper case: it is read as a file is.
    const session::TemplateValues own = session::readTemplateValues(
        reinterpret_cast<const std::uint8_t*>(terminalAnswer.data()),
        static_cast<std::uint16_t>(std::min<std::size_t>(terminalAnswer.size(), UINT16_MAX)));
    std::vector<std::string> messages;
    for (std::size_t i = 0; i < own.invalid.size(); ++i) {
        const protocol::Parameter* p = own.invalidParameters[i];
        if (!given.count(p) && std::find(file.missing.begin(), file.missing.end(), p) !=
                                   file.missing.end())
            messages.push_back("the terminal holds " + own.invalid[i] +
                               "; it cannot be kept as it is, give it in the file");
    }
    return messages;
}

std::optional<ConfigurationFile> readConfigurationFile(
    const std::string& path, bool keepUnlisted,
    const std::set<const protocol::Parameter*>& supplied, std::string& error) {
    if (files::fileKindOf(path) != files::FileKind::Configuration) {
        error = path + ": not a configuration file (the name must end in \".abt\")";
        return std::nullopt;
    }
    // A FIFO would hold the program until something writes to it.
    if (const std::string reason = files::notRegularFileReason(path); !reason.empty()) {
        error = path + ": " + reason;
        return std::nullopt;
    }
    protocol::TransmitBuffer buffer;
    errno = 0;
    const files::LoadResult loaded = files::loadIntoBuffer(path, buffer);
    if (loaded.status == files::LoadStatus::CannotOpen) {
        error = path + ": " + std::strerror(errno != 0 ? errno : ENOENT);
        return std::nullopt;
    }
    if (loaded.status != files::LoadStatus::Loaded) {
        error = loaded.message;
        return std::nullopt;
    }
    // An editor's UTF-8 mark: the file's letters are not the Windows-1251 the terminal takes.
    if (buffer.view().starts_with("\xEF\xBB\xBF")) {
        error = path + ": nothing was sent: the file is UTF-8 (it starts with a byte order mark); "
                       ".abt files are Windows-1251";
        return std::nullopt;
    }
    ConfigurationFile result{session::readTemplateValues(buffer.data(), buffer.length())};
    session::TemplateValues& file = result.file;
    std::erase_if(file.missing, [&](const protocol::Parameter* p) { return supplied.count(p); });
    if (!file.invalid.empty()) {
        error.clear();
        for (const std::string& line : file.invalid) error += path + ": " + line + "\n";
        error += path + ": nothing was sent";
        return std::nullopt;
    }
    if (!keepUnlisted && !file.missing.empty()) {
        error = path + ": nothing was sent: the file lacks " + std::to_string(file.missing.size()) +
                " of the " + std::to_string(protocol::kFileItems.size()) +
                " writable values, which the write would blank in the terminal: " +
                session::fileKeyList(file.missing) +
                ". Give them in the file ('vigil read --out FILE.abt' writes a whole one), or add "
                "--keep-unlisted to keep the terminal's own values for them.";
        return std::nullopt;
    }
    return result;
}

}  // namespace cli
