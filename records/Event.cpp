#include "records/Event.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "session/UnitIdentity.h"

namespace records {
namespace {

constexpr std::array<std::string_view, 6> kKindNames = {"read",   "write",   "erase",
                                                        "upload", "compare", "restore"};
constexpr std::array<std::string_view, 5> kResultNames = {"ok", "differs", "silent", "failed",
                                                          "cancelled"};

template <typename E, std::size_t N>
std::optional<E> fromName(const std::array<std::string_view, N>& names, std::string_view name) {
    const auto it = std::find(names.begin(), names.end(), name);
    if (it == names.end()) return std::nullopt;
    return static_cast<E>(it - names.begin());
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

std::string_view kindName(Kind kind) {
    return kKindNames[static_cast<std::size_t>(kind)];
}
std::optional<Kind> kindFromName(std::string_view name) {
    return fromName<Kind>(kKindNames, name);
}
std::string_view resultName(Result result) {
    return kResultNames[static_cast<std::size_t>(result)];
}
std::optional<Result> resultFromName(std::string_view name) {
    return fromName<Result>(kResultNames, name);
}

std::string firmwareVersionOf(std::string_view idCodText) {
    if (session::unitIdentity(idCodText).empty()) return {};
    std::size_t i = 0;
    bool first = true;
    while (i < idCodText.size()) {
        while (i < idCodText.size() && isBlank(idCodText[i])) ++i;
        const std::size_t start = i;
        while (i < idCodText.size() && !isBlank(idCodText[i])) ++i;
        const std::string_view word = idCodText.substr(start, i - start);
        if (first) {
            first = false;  // the code itself
            continue;
        }
        if (std::any_of(word.begin(), word.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return std::string(word);
    }
    return {};
}

void setUnit(Event& event, std::string_view idCodText) {
    event.idCodText = std::string(idCodText);
    event.unitId = session::unitIdentity(idCodText);
    event.firmwareVersion = firmwareVersionOf(idCodText);
}

std::string valueOf(const Values& values, std::string_view parameter) {
    for (const auto& [name, value] : values)
        if (name == parameter) return value;
    return {};
}

}  // namespace records
