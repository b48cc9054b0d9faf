#include "cli/RunLanguage.h"

#include <cstdlib>

#include "platform/Catalogue.h"

namespace cli {

std::optional<std::optional<session::Language>> takeLanguageOption(std::vector<std::string>& args,
                                                                   std::string& error) {
    using Problem = session::LanguageOption::Problem;
    const session::LanguageOption option = session::takeLanguageOption(args);
    switch (option.problem) {
        case Problem::None:
            return option.language;
        case Problem::NoValue:
            error = platform::translated("vigil", "--lang needs a value: ru or en");
            break;
        case Problem::GivenTwice:
            error = platform::translated("vigil", "--lang is given twice");
            break;
        case Problem::Unknown:
            error = platform::withArgs(
                platform::translated("vigil", "--lang takes ru or en, got \"%1\""), {option.value});
            break;
    }
    return std::nullopt;
}

session::Language runLanguage(const std::optional<session::Language>& fromOption) {
    const session::Language fromLocale = session::languageOfLocale(
        std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    return session::chooseLanguage(fromOption, std::getenv("VIGIL_LANG"), fromLocale);
}

}  // namespace cli
