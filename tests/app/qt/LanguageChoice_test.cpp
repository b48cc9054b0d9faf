// The windows' language: --lang over VIGIL_LANG over the menu's kept choice over Russian, and the
// menu keeps a choice for the next start and says so.
#include "WindowFixture.h"
#include "app/LanguageSetting.h"
#include "platform/RegistryStore.h"

namespace {

using session::Language;

class LanguageChoice : public apptest::WindowFixture {
  protected:
    ~LanguageChoice() override { ::unsetenv("VIGIL_LANG"); }
    QAction* entry(const char* name) {
        return form1->Help1->findChild<QAction*>(QLatin1String(name));
    }
};

TEST_F(LanguageChoice, TheOptionComesFirstThenTheVariableThenTheMenusChoice) {
    EXPECT_EQ(app::windowsLanguage(std::nullopt), Language::Russian);
    ASSERT_TRUE(app::storeLanguage(Language::English));
    EXPECT_EQ(app::windowsLanguage(std::nullopt), Language::English);
    ::setenv("VIGIL_LANG", "ru", 1);
    EXPECT_EQ(app::windowsLanguage(std::nullopt), Language::Russian);
    ::setenv("VIGIL_LANG", "fr", 1);  // passed over
    EXPECT_EQ(app::windowsLanguage(std::nullopt), Language::English);
    EXPECT_EQ(app::windowsLanguage(Language::Russian), Language::Russian);
}

// The language is read before any window can show a message: a damaged store is told by the
// next read, as a box, and a value of another type or text counts as no choice.
TEST_F(LanguageChoice, ADamagedStoreIsLeftForTheWindowsToTellAndGarbageIsNoChoice) {
    const std::string store = std::getenv("VIGIL_REGISTRY");
    const std::string header =
        "Windows Registry Editor Version 5.00\r\n\r\n[Quorveth\\Language]\r\n";
    for (const std::string& value : {std::string("\"Language\"=dword:00000001\r\n"),
                                     std::string("\"Language\"=\"\\x01zz\"\r\n")}) {
        apptest::writeFile(store, header + value);
        EXPECT_EQ(app::storedLanguage(), std::nullopt) << value;
        EXPECT_EQ(app::windowsLanguage(std::nullopt), Language::Russian);
    }
    apptest::writeFile(store, "not a store\n");
    messages.clear();
    EXPECT_EQ(app::storedLanguage(), std::nullopt);
    EXPECT_TRUE(messages.texts().empty());
    platform::Registry registry;
    registry.openKey("Quorveth\\ComPort", false);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("не читается"), std::string::npos) << messages.texts()[0];
}

TEST_F(LanguageChoice, TheLangOptionIsReadInBothFormsAndAnUnknownOneIsRefused) {
    char prog[] = "Config_Vigil", lang[] = "--lang", en[] = "EN", eq[] = "--lang=ru",
         bad[] = "--lang=de", other[] = "-platform";
    bool invalid = true;
    char* spaced[] = {prog, other, lang, en};
    EXPECT_EQ(app::languageOption(4, spaced, invalid), Language::English);
    EXPECT_FALSE(invalid);
    char* joined[] = {prog, eq};
    EXPECT_EQ(app::languageOption(2, joined, invalid), Language::Russian);
    char* unknown[] = {prog, bad};
    EXPECT_EQ(app::languageOption(2, unknown, invalid), std::nullopt);
    EXPECT_TRUE(invalid);
    char* dangling[] = {prog, lang};
    EXPECT_EQ(app::languageOption(2, dangling, invalid), std::nullopt);
    EXPECT_TRUE(invalid);
    char* none[] = {prog, other};
    EXPECT_EQ(app::languageOption(2, none, invalid), std::nullopt);
    EXPECT_FALSE(invalid);
}

TEST_F(LanguageChoice, TheMenuKeepsTheChoiceForTheNextStartAndSaysSo) {
    ASSERT_NE(entry("LanguageRussian"), nullptr);
    EXPECT_TRUE(entry("LanguageRussian")->isChecked());  // the language in use
    entry("LanguageEnglish")->trigger();
    EXPECT_EQ(app::storedLanguage(), Language::English);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Язык сменится при следующем запуске программы.");
    // VIGIL_LANG naming the other language would keep it at the next start: said so.
    ::setenv("VIGIL_LANG", "en", 1);
    entry("LanguageRussian")->trigger();
    EXPECT_EQ(app::storedLanguage(), Language::Russian);
    ASSERT_EQ(messages.texts().size(), 2u);
    EXPECT_EQ(messages.texts()[1],
              "Выбор сохранён, но язык при запуске задаёт переменная окружения VIGIL_LANG=en, "
              "пока она установлена.");
    messages.clear();
    ::unsetenv("VIGIL_LANG");
    // A store that cannot be written is reported, not passed over.
    ::setenv("VIGIL_REGISTRY", "/proc/vigil-no-store/registry.reg", 1);
    entry("LanguageRussian")->trigger();
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Выбор языка не сохранён: хранилище настроек недоступно.");
}

}  // namespace
