#include "session/UnitsFile.h"

#include <set>

#include "files/Csv.h"
#include "platform/Catalogue.h"
#include "platform/InputFile.h"

namespace session {

std::set<const protocol::Parameter*> suppliedByEveryUnit(const std::vector<Unit>& units) {
    std::set<const protocol::Parameter*> every;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::set<const protocol::Parameter*> own;
        for (const Override& value : units[i].values) own.insert(value.parameter);
        if (i == 0)
            every = std::move(own);
        else
            std::erase_if(every, [&](const protocol::Parameter* p) { return !own.count(p); });
    }
    return every;
}

std::optional<std::vector<Unit>> readUnitsFile(const std::string& path, std::string& error) {
    const platform::InputFile file = platform::readInputFile(path, platform::kMaxUnitsFileBytes);
    if (file.status == platform::InputStatus::Read) return parseUnitsFile(file.bytes, path, error);
    error = path + ": " + file.reason;
    return std::nullopt;
}

std::optional<std::vector<Unit>> parseUnitsFile(std::string_view text, const std::string& path,
                                                std::string& error) {
    const auto table = files::parseCsv(text, error);
    if (!table) {
        error = path + ": " + error;
        return std::nullopt;
    }
    const auto fail = [&](std::size_t row, const std::string& why) {
        error = path + ":" + std::to_string(table->lines[row]) + ": " + why;
        return std::nullopt;
    };
    if (table->rows.empty()) {
        error = platform::withArgs(platform::translated("vigil", "%1: the file is empty"), {path});
        return std::nullopt;
    }
    if (table->rows[0][0] != "unit")
        return fail(0, platform::translated("vigil", "the first column must be \"unit\""));

    const files::CsvRow& header = table->rows[0];
    std::vector<OverrideKey> columns;
    for (std::size_t c = 1; c < header.size(); ++c) {
        auto key = resolveOverrideKey(header[c], error);
        if (!key) return fail(0, error);
        for (std::size_t earlier = 0; earlier < columns.size(); ++earlier)
            if (columns[earlier].parameter == key->parameter)
                return fail(
                    0, platform::withArgs(platform::translated(
                                              "vigil", "\"%1\" names the same parameter as \"%2\""),
                                          {header[c], header[earlier + 1]}));
        columns.push_back(*key);
    }
    std::vector<Unit> units;
    std::set<std::string> labels;
    for (std::size_t r = 1; r < table->rows.size(); ++r) {
        const files::CsvRow& row = table->rows[r];
        if (row.size() != header.size())
            return fail(
                r, platform::withArgs(platform::translated("vigil", "%1 cells, the header has %2"),
                                      {std::to_string(row.size()), std::to_string(header.size())}));
        if (row[0].empty()) return fail(r, platform::translated("vigil", "the unit has no label"));
        if (!labels.insert(row[0]).second)
            return fail(
                r, platform::withArgs(platform::translated("vigil", "unit \"%1\" is listed twice"),
                                      {row[0]}));
        Unit unit{row[0], {}};
        for (std::size_t c = 1; c < row.size(); ++c) {
            if (row[c].empty()) continue;
            auto value = makeOverride(columns[c - 1], row[c], error);
            if (!value) return fail(r, error);
            unit.values.push_back(*value);
        }
        units.push_back(std::move(unit));
    }
    return units;
}

}  // namespace session
