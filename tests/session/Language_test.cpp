#include "session/Language.h"

#include <gtest/gtest.h>

#include "platform/Catalogue.h"

using session::Language;

TEST(Language, OptionThenVariableThenDefault) {
    EXPECT_EQ(session::parseLanguage("EN"), Language::English);
    EXPECT_EQ(session::parseLanguage("de"), std::nullopt);
    EXPECT_EQ(session::chooseLanguage(Language::Russian, "en", Language::English),
              Language::Russian);
    EXPECT_EQ(session::chooseLanguage(std::nullopt, "en", Language::Russian), Language::English);
    // An unknown variable does not switch the program to some language by accident.
    EXPECT_EQ(session::chooseLanguage(std::nullopt, "fr", Language::Russian), Language::Russian);
    EXPECT_EQ(session::languageOfLocale(nullptr, "", "ru_RU.UTF-8"), Language::Russian);
    EXPECT_EQ(session::languageOfLocale("C", nullptr, "ru_RU.UTF-8"), Language::English);
    EXPECT_EQ(session::languageOfLocale(nullptr, nullptr, nullptr), Language::English);
}

TEST(Catalogue, MissingEntryShowsTheSourceText) {
    platform::installCatalogue([](const char*, const char* source) {
        return std::string(source) == "Да" ? std::string("Yes") : std::string();
    });
    EXPECT_EQ(platform::translated("Ctx", "Да"), "Yes");
    EXPECT_EQ(platform::translated("Ctx", "Нет"), "Нет");
    platform::installCatalogue(nullptr);
    EXPECT_EQ(platform::translated("Ctx", "Да"), "Да");
}
