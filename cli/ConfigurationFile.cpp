#include "cli/ConfigurationFile.h"

#include "files/SaveFiles.h"
#include "protocol/TransmitBuffer.h"
#include "protocol/WriteCheck.h"

namespace cli {

protocol::ValueStore ConfigurationFile::valuesOver(const protocol::ValueStore& terminal) const {
    protocol::ValueStore values = terminal;
    protocol::restoreValues(values, file.values, {});
    return values;
}

std::string ConfigurationFile::keptValuesProblem(std::string_view answer,
                                                 const protocol::ValueStore& terminal) const {
    std::string problem;
    for (const std::string& line : session::bentAnswerValues(answer, file.missing, terminal))
        problem +=
            "the terminal holds " + line + "; kept as it is it would be written back changed; ";
    if (!problem.empty())
        problem += "nothing was sent: give these values in the file, or set them with --set";
    return problem;
}

std::optional<ConfigurationFile> readConfigurationFile(
    const std::string& path, bool keepUnlisted,
    const std::set<const protocol::Parameter*>& supplied, std::string& error) {
    if (files::fileKindOf(path) != files::FileKind::Configuration) {
        error = path + ": not a configuration file (the name must end in \".abt\")";
        return std::nullopt;
    }
    protocol::TransmitBuffer buffer;
    const files::LoadResult loaded = files::loadIntoBuffer(path, buffer);
    if (loaded.status == files::LoadStatus::CannotOpen) {
        error = path + ": " + loaded.message;
        return std::nullopt;
    }
    if (loaded.status != files::LoadStatus::Loaded) {
        error = loaded.message;
        return std::nullopt;
    }
    // An editor's UTF-8 mark: the file's letters are not the Windows-1251 the terminal takes.
    if (buffer.view().starts_with("\xEF\xBB\xBF")) {
        error = path +
                ": nothing was sent: the file is UTF-8 (it starts with a byte order mark); "
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
