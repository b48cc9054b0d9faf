#include "cli/ConsoleMessages.h"

#include <cstdio>
#include <sstream>

namespace cli {

ConsoleMessages::ConsoleMessages() {
    platform::setMessageService(this);
}

ConsoleMessages::~ConsoleMessages() {
    platform::setMessageService(nullptr);
}

platform::MessageResult ConsoleMessages::show(const std::string& text, const std::string&,
                                              platform::MessageIcon, platform::MessageButtons) {
    if (!holdNext_) printError(text);
    holdNext_ = false;
    return platform::MessageResult::Ok;
}

void printError(const std::string& text) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::fprintf(stderr, "vigil: %s\n", line.c_str());
    }
    std::fflush(stderr);
}

}  // namespace cli
