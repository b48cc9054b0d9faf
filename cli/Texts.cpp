#include "cli/Texts.h"

#include <cstdio>

#include "platform/Catalogue.h"

namespace cli {

std::string worded(TextFor where, std::string_view source) {
    const std::string text(source);
    return where == TextFor::Screen ? platform::translated("vigil", text.c_str()) : text;
}

void printText(const std::string& text, std::initializer_list<std::string_view> args) {
    std::fputs(withArgs(text, args).c_str(), stdout);
}

}  // namespace cli
