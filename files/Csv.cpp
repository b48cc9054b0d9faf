#include "files/Csv.h"

#include "platform/Catalogue.h"

namespace files {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char separatorOf(std::string_view text) {
    const std::string_view header = text.substr(0, text.find('\n'));
    const bool commas = header.find(',') != std::string_view::npos;
    return !commas && header.find(';') != std::string_view::npos ? ';' : ',';
}

}  // namespace

std::optional<CsvTable> parseCsv(std::string_view text, std::string& error) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    CsvTable table;
    table.separator = separatorOf(text);
    CsvRow row;
    std::string field;
    bool quoted = false, fieldStarted = false;
    std::size_t line = 1, rowLine = 1;
    const auto endRow = [&] {
        if (fieldStarted || !row.empty()) {
            row.push_back(field);
            table.rows.push_back(row);
            table.lines.push_back(rowLine);
        }
        row.clear();
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\n') ++line;
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        if (!fieldStarted && row.empty()) rowLine = line - (c == '\n' ? 1 : 0);
        if (c == '"') {
            quoted = fieldStarted = true;
        } else if (c == table.separator) {
            row.push_back(field);
            field.clear();
            fieldStarted = true;
        } else if (c == '\n') {
            endRow();
        } else if (c != '\r') {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        error = platform::withArgs(
            platform::translated("vigil", "a quoted field that starts on line %1 is never closed"),
            {std::to_string(rowLine)});
        return std::nullopt;
    }
    endRow();
    return table;
}

std::string csvField(std::string_view text, char separator) {
    if (text.find_first_of(std::string{separator, '"', '\n', '\r'}) == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csvLine(const CsvRow& row, char separator, std::string_view lineEnd) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (i != 0) line += separator;
        line += csvField(row[i], separator);
    }
    return line.append(lineEnd);
}

}  // namespace files
