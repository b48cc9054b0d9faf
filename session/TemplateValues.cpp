#include "session/TemplateValues.h"

#include <algorithm>

#include "protocol/Cp1251.h"
#include "protocol/ResponseParser.h"
#include "session/ValueDomain.h"

namespace session {
namespace {

// The value of `p`'s first item as `scanner` finds it: nullopt when the key is absent, `ended`
// false when no ":" ends it.
std::optional<std::string_view> itemValue(const protocol::ItemScanner& scanner,
                                          std::string_view data, const protocol::Parameter& p,
                                          bool& ended) {
    const std::uint16_t at = scanner.FindKey(p.answerKey);
    if (at == protocol::kKeyAbsent) return std::nullopt;
    const std::size_t start = std::min<std::size_t>(at + p.answerKey.size(), data.size());
    const std::size_t stop = data.find(':', start);
    ended = stop != std::string_view::npos;
    return data.substr(start, (ended ? stop : data.size()) - start);
}

std::string_view textOf(const std::uint8_t* data, std::uint16_t count) {
    return {reinterpret_cast<const char*>(data), count};
}

}  // namespace

TemplateValues readTemplateValues(const std::uint8_t* data, std::uint16_t count) {
    TemplateValues result;
    const protocol::ItemScanner file(data, count, protocol::KeyMatch::ItemStart);
    for (const protocol::Parameter* p : protocol::kFileItems) {
        bool ended = false;
        const std::optional<std::string_view> value =
            itemValue(file, textOf(data, count), *p, ended);
        if (!value) {
            result.missing.push_back(p);
            continue;
        }
        if (!ended) {
            result.invalid.push_back(std::string(fileKeyName(*p)) +
                                     ": the item does not end with \":\"");
            continue;
        }
        const protocol::ValueForm form = protocol::fileForm(*p);
        if (std::optional<std::string> wire = linkValue(*p, form, *value))
            result.values.push_back({p, std::move(*wire)});
        else
            result.invalid.push_back(
                invalidValueMessage(*p, form, protocol::fromCp1251ForDisplay(*value)));
    }
    return result;
}

std::vector<std::string> bentAnswerValues(std::string_view answer,
                                          std::span<const protocol::Parameter* const> wanted,
                                          const protocol::ControlAccess& parsed) {
    std::vector<std::string> bent;
    const auto* const bytes = reinterpret_cast<const std::uint8_t*>(answer.data());
    const auto count = static_cast<std::uint16_t>(std::min<std::size_t>(answer.size(), 0xFFFE));
    const protocol::ItemScanner scanner(bytes, count, protocol::KeyMatch::Anywhere);
    for (const protocol::Parameter* p : wanted) {
        bool ended = false;
        const std::optional<std::string_view> value =
            itemValue(scanner, answer.substr(0, count), *p, ended);
        // An absent or unended item is the answer's gap, which the reading reports itself.
        if (!value || !ended) continue;
        // The parse takes every list answer as the item's index, the press count too, as a
        // file holds it.
        const protocol::ValueForm form = protocol::fileForm(*p);
        const std::optional<std::string> wire = linkValue(*p, form, *value);
        if (!wire) {
            bent.push_back(invalidValueMessage(*p, form, protocol::fromCp1251ForDisplay(*value)));
            continue;
        }
        const protocol::ValueSnapshot taken = protocol::snapshotValues(parsed, {&p, 1});
        if (taken.empty() || taken.front().value != *wire)
            bent.push_back(
                "value \"" + protocol::fromCp1251ForDisplay(*value) + "\" for " +
                parameterLabel(*p) + ", read as \"" +
                (taken.empty() ? "" : protocol::fromCp1251ForDisplay(taken.front().value)) + "\"");
    }
    return bent;
}

std::string fileKeyList(const std::vector<const protocol::Parameter*>& parameters) {
    std::string list;
    for (const protocol::Parameter* p : parameters) {
        if (!list.empty()) list += ", ";
        list += fileKeyName(*p);
    }
    return list;
}

protocol::ValueStore valuesToSend(const TemplateValues& file, const protocol::ValueStore& terminal,
                                  std::span<const Override> overrides) {
    protocol::ValueStore values = terminal;
    protocol::restoreValues(values, file.values, {});
    for (const Override& value : overrides) applyOverride(values, value);
    return values;
}

}  // namespace session
