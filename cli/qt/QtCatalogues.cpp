// The catalogues through Qt's translator (Qt Core only: vigil opens no window).
#include <QString>
#include <QTranslator>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/Catalogues.h"
#include "platform/Catalogue.h"

namespace cli {
namespace {

std::filesystem::path cataloguesFolder() {
    if (const char* folder = std::getenv("VIGIL_TRANSLATIONS"); folder && *folder) return folder;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return program.parent_path().parent_path() / "share" / "vigil" / "translations";
}

}  // namespace

std::string installCatalogues(session::Language language) {
    const std::filesystem::path folder = cataloguesFolder();
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error)) return {};
    auto translator = std::make_shared<QTranslator>();
    const std::filesystem::path file = folder / catalogueFileFor(language);
    if (!translator->load(QString::fromStdString(file.string())))
        return file.string() +
               " cannot be loaded (missing or damaged): messages are shown as written";
    platform::installCatalogue([translator](const char* context, const char* source) {
        return translator->translate(context, source).toStdString();
    });
    return {};
}

}  // namespace cli
