#pragma once
// Comma-separated values as spreadsheets write them: fields in double quotes may hold the
// separator, line breaks and doubled quotes; a leading UTF-8 byte order mark is skipped. A
// spreadsheet set up for Russian writes ";" instead of ",", which the header row tells.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files {

using CsvRow = std::vector<std::string>;

struct CsvTable {
    char separator = ',';
    std::vector<CsvRow> rows;
    std::vector<std::size_t> lines;  // line number where each row starts, from 1
};

// nullopt with `error` set for a quote that is never closed. Empty lines are skipped.
std::optional<CsvTable> parseCsv(std::string_view text, std::string& error);

// One field as written: in double quotes (its own quotes doubled) when it holds the separator, a
// quote or a line break, as it is otherwise.
std::string csvField(std::string_view text, char separator = ',');
// One row with its line end.
std::string csvLine(const CsvRow& row, char separator = ',', std::string_view lineEnd = "\n");

}  // namespace files
