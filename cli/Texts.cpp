#include "cli/Texts.h"

#include <cstdio>

#include "platform/Catalogue.h"

namespace cli {

std::string withArgs(std::string text, std::initializer_list<std::string_view> args) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        const std::size_t index = static_cast<std::size_t>(next - '1');
        // One pass over the text: an argument that itself holds "%2" stays as it is.
        if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + static_cast<std::ptrdiff_t>(index));
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string worded(TextFor where, std::string_view source) {
    const std::string text(source);
    return where == TextFor::Screen ? platform::translated("vigil", text.c_str()) : text;
}

void printText(const std::string& text, std::initializer_list<std::string_view> args) {
    std::fputs(withArgs(text, args).c_str(), stdout);
}

}  // namespace cli
