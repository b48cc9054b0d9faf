#include "cli/RunLanguage.h"

#include <cstdlib>

#include "platform/Catalogue.h"

namespace cli {

std::optional<std::optional<session::Language>> takeLanguageOption(std::vector<std::string>& args,
                                                                   std::string& error) {
    std::optional<session::Language> chosen;
    std::vector<std::string> kept;
    bool given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            kept.insert(kept.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        std::string value;
        if (arg == "--lang") {
            if (i + 1 == args.size()) {
                error = platform::translated("vigil", "--lang needs a value: ru or en");
                return std::nullopt;
            }
            value = args[++i];
        } else if (arg.rfind("--lang=", 0) == 0) {
            value = arg.substr(7);
        } else {
            kept.push_back(arg);
            continue;
        }
        if (given) {
            error = platform::translated("vigil", "--lang is given twice");
            return std::nullopt;
        }
        given = true;
        chosen = session::parseLanguage(value);
        if (!chosen) {
            error = platform::withArgs(
                platform::translated("vigil", "--lang takes ru or en, got \"%1\""), {value});
            return std::nullopt;
        }
    }
    args = std::move(kept);
    return chosen;
}

session::Language runLanguage(const std::optional<session::Language>& fromOption) {
    const session::Language fromLocale = session::languageOfLocale(
        std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
    return session::chooseLanguage(fromOption, std::getenv("VIGIL_LANG"), fromLocale);
}

}  // namespace cli
