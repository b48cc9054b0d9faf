#include "cli/ConfigurationFile.h"

#include "cli/Texts.h"
#include "files/SaveFiles.h"
#include "platform/Catalogue.h"
#include "protocol/TransmitBuffer.h"
#include "protocol/WriteCheck.h"

namespace cli {

std::string ConfigurationFile::keptValuesProblem(std::string_view answer,
                                                 const protocol::ValueStore& terminal,
                                                 TextFor where) const {
    std::string problem;
    for (const std::string& line : session::bentAnswerValues(answer, file.missing, terminal))
        problem += withArgs(worded(where, VIGIL_TRANSLATABLE("vigil",
                                                             "the terminal holds %1; kept as it "
                                                             "is it would be written back "
                                                             "changed; ")),
                            {line});
    if (!problem.empty())
        problem += worded(where, VIGIL_TRANSLATABLE("vigil",
                                                    "nothing was sent: give these values in the "
                                                    "file, or set them with --set"));
    return problem;
}

std::optional<ConfigurationFile> readConfigurationFile(
    const std::string& path, bool keepUnlisted,
    const std::set<const protocol::Parameter*>& supplied, std::string& error) {
    if (files::fileKindOf(path) != files::FileKind::Configuration) {
        error =
            withArgs(platform::translated(
                         "vigil", "%1: not a configuration file (the name must end in \".abt\")"),
                     {path});
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
        error =
            withArgs(platform::translated("vigil",
                                          "%1: nothing was sent: the file is UTF-8 (it starts with "
                                          "a byte order mark); .abt files are Windows-1251"),
                     {path});
        return std::nullopt;
    }
    ConfigurationFile result{session::readTemplateValues(buffer.data(), buffer.length())};
    session::TemplateValues& file = result.file;
    std::erase_if(file.missing, [&](const protocol::Parameter* p) { return supplied.count(p); });
    if (!file.invalid.empty()) {
        error.clear();
        for (const std::string& line : file.invalid) error += path + ": " + line + "\n";
        error += withArgs(platform::translated("vigil", "%1: nothing was sent"), {path});
        return std::nullopt;
    }
    if (!keepUnlisted && !file.missing.empty()) {
        error = withArgs(
            platform::translated("vigil",
                                 "%1: nothing was sent: the file lacks %2 of the %3 writable "
                                 "values, which the write would blank in the terminal: "
                                 "%4. Give them in the file ('vigil read --out "
                                 "FILE.abt' writes a whole one), or add "
                                 "--keep-unlisted to keep the terminal's own values for "
                                 "them."),
            {path, std::to_string(file.missing.size()), std::to_string(protocol::kFileItems.size()),
             session::fileKeyList(file.missing)});
        return std::nullopt;
    }
    return result;
}

}  // namespace cli
