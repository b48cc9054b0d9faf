#include "cli/JsonValues.h"

#include <cstdio>

#include "protocol/Cp1251.h"
#include "protocol/ItemComposer.h"
#include "protocol/ParameterTable.h"

namespace cli {
namespace {

std::string quoted(std::string_view utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

std::string valuesAsJson(const protocol::ControlAccess& values) {
    std::string json = "{\n";
    bool first = true;
    for (const protocol::Parameter& p : protocol::kParameters) {
        const std::string wire = protocol::renderValue(values, p, p.form).value_or("");
        if (!first) json += ",\n";
        first = false;
        json += "  " + quoted(p.name) + ": " + quoted(protocol::fromCp1251ForDisplay(wire));
    }
    return json + "\n}\n";
}

}  // namespace cli
