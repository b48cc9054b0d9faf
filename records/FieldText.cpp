#include "records/FieldText.h"

namespace records {
namespace {

void appendEscaped(std::string& out, std::string_view field) {
    for (const char c : field) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
}

std::string encodeRows(const std::vector<std::vector<std::string_view>>& rows) {
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) out += '\t';
            appendEscaped(out, row[i]);
        }
        out += '\n';
    }
    return out;
}

// Rows of unescaped fields; a damaged escape keeps the character that follows it.
std::vector<std::vector<std::string>> decodeRows(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') {
            rows.push_back(std::move(row));
            row.assign(1, {});
        } else if (c == '\t') {
            row.emplace_back();
        } else if (c == '\\' && i + 1 < text.size()) {
            const char e = text[++i];
            row.back() += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
        } else {
            row.back() += c;
        }
    }
    if (row.size() > 1 || !row.front().empty()) rows.push_back(std::move(row));
    return rows;
}

}  // namespace

std::string encodeValues(const Values& values) {
    std::vector<std::vector<std::string_view>> rows;
    rows.reserve(values.size());
    for (const auto& [name, value] : values) rows.push_back({name, value});
    return encodeRows(rows);
}

Values decodeValues(std::string_view text) {
    Values values;
    for (auto& row : decodeRows(text)) {
        row.resize(2);
        values.emplace_back(std::move(row[0]), std::move(row[1]));
    }
    return values;
}

std::string encodeDifferences(const std::vector<Difference>& differences) {
    std::vector<std::vector<std::string_view>> rows;
    rows.reserve(differences.size());
    for (const Difference& d : differences) rows.push_back({d.parameter, d.before, d.after});
    return encodeRows(rows);
}

std::vector<Difference> decodeDifferences(std::string_view text) {
    std::vector<Difference> differences;
    for (auto& row : decodeRows(text)) {
        row.resize(3);
        differences.push_back({std::move(row[0]), std::move(row[1]), std::move(row[2])});
    }
    return differences;
}

}  // namespace records
