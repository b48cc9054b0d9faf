#include "platform/qt/QtCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include "platform/Catalogue.h"

namespace platform {
namespace {

session::Language languageLoaded = session::Language::Russian;

bool installTranslator(const QString& file, QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace

QString catalogueFolder() {
    // Config_Vigil lives in <prefix>/lib/vigil, vigil in <prefix>/bin; in the build tree both sit
    // one folder below the .qm files' share/vigil/translations, tests two.
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        programDir + QStringLiteral("/../share/vigil/translations"),
        programDir + QStringLiteral("/../../share/vigil/translations"),
#ifdef VIGIL_BUILD_TRANSLATIONS_DIR
        QStringLiteral(VIGIL_BUILD_TRANSLATIONS_DIR),
#endif
    };
    for (const QString& folder : candidates)
        if (QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
    return {};
}

bool loadQtCatalogue(session::Language language, QCoreApplication& application) {
    const QString name = QStringLiteral("qtbase_") + QLatin1String(session::languageCode(language));
    return installTranslator(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u'/' + name,
                             application);
}

session::Language loadedLanguage() {
    return languageLoaded;
}

bool loadCatalogues(session::Language language, QCoreApplication& application) {
    languageLoaded = language;
    loadQtCatalogue(language, application);
    bool found = false;
    const QString folder = catalogueFolder();
    if (!folder.isEmpty()) {
        const QString pattern = QStringLiteral("*_") +
                                QLatin1String(session::languageCode(language)) +
                                QStringLiteral(".qm");
        const QDir dir(folder);
        for (const QString& file : dir.entryList({pattern}, QDir::Files, QDir::Name))
            found = installTranslator(dir.filePath(file), application) || found;
    }
    installCatalogue([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
    return found;
}

}  // namespace platform
