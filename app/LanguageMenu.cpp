#include "app/LanguageMenu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <cstdlib>

#include "app/LanguageSetting.h"
#include "platform/MessageService.h"
#include "platform/qt/QtCatalogue.h"

namespace app {
namespace {

void choose(session::Language language) {
    if (!storeLanguage(language)) {
        platform::messages().show(
            QCoreApplication::translate("LanguageMenu",
                                        "Выбор языка не сохранён: хранилище настроек недоступно.")
                .toStdString(),
            "", platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return;
    }
    // VIGIL_LANG comes before the menu's choice at start: saying the language will change would
    // be untrue while it names the other one.
    const char* variable = std::getenv("VIGIL_LANG");
    const auto fromVariable = session::parseLanguage(variable ? variable : "");
    const QString text =
        fromVariable && *fromVariable != language
            ? QCoreApplication::translate("LanguageMenu",
                                          "Выбор сохранён, но язык при запуске задаёт переменная "
                                          "окружения VIGIL_LANG=%1, пока она установлена.")
                  .arg(QString::fromLocal8Bit(variable))
            : QCoreApplication::translate("LanguageMenu",
                                          "Язык сменится при следующем запуске программы.");
    platform::messages().show(text.toStdString(), "", platform::MessageIcon::Information,
                              platform::MessageButtons::Ok);
}

}  // namespace

void addLanguageMenu(QMenu& menu) {
    QMenu* languages = menu.addMenu(QCoreApplication::translate("LanguageMenu", "Language / Язык"));
    languages->setObjectName(QStringLiteral("LanguageMenu"));
    auto* group = new QActionGroup(languages);
    const session::Language current = platform::loadedLanguage();
    // Each language is named in itself, so the operator finds his own whichever is in use.
    const struct {
        const char* name;
        const char* caption;
        session::Language language;
    } entries[] = {{"LanguageRussian", "Русский", session::Language::Russian},
                   {"LanguageEnglish", "English", session::Language::English}};
    for (const auto& entry : entries) {
        QAction* action = languages->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QLatin1String(entry.name));
        action->setCheckable(true);
        action->setChecked(entry.language == current);
        group->addAction(action);
        const session::Language language = entry.language;
        QObject::connect(action, &QAction::triggered, languages, [language] { choose(language); });
    }
}

}  // namespace app
