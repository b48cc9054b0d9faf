// A batch's units file with arbitrary content: it is taken whole, each data row one unit with its
// own label, or refused with an error that names the file and, for a bad row, its line.
// fuzz-flags: -max_len=4000 -dict=fuzz/keys.dict
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/Csv.h"
#include "fuzz/FileTextCase.h"
#include "fuzz/FuzzSupport.h"
#include "session/UnitsFile.h"

namespace {

const std::string kName = "units.csv";

// "units.csv:<n>: ..." with n a line of the text, or "units.csv: ..." for the file as a whole.
bool namesFileAndLine(const std::string& error, std::string_view text) {
    if (error.rfind(kName + ":", 0) != 0) return false;
    std::size_t at = kName.size() + 1;
    if (at < error.size() && error[at] == ' ') return true;
    std::size_t line = 0;
    for (; at < error.size() && std::isdigit(static_cast<unsigned char>(error[at])); ++at)
        line = line * 10 + static_cast<std::size_t>(error[at] - '0');
    const std::size_t lines =
        1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    return at < error.size() && error[at] == ':' && line >= 1 && line <= lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::textOf(data, size);
    fuzz::readFileText(
        text, kName, session::parseUnitsFile,
        [&](const std::string& error) {
            fuzz::require(namesFileAndLine(error, text),
                          "a refused units file names itself and the line");
        },
        [&](const std::vector<session::Unit>& units) {
            std::string csvError;
            const auto table = files::parseCsv(text, csvError);
            fuzz::require(table && table->rows.size() == units.size() + 1,
                          "every data row is one unit");
            for (std::size_t u = 0; u < units.size(); ++u) {
                const files::CsvRow& row = table->rows[u + 1];
                fuzz::require(units[u].label == row[0] && !row[0].empty(),
                              "a unit keeps its row's label");
                std::size_t given = 0;
                for (std::size_t c = 1; c < row.size(); ++c) given += !row[c].empty();
                fuzz::require(units[u].values.size() == given,
                              "a unit takes every value of its row");
            }
        });
    return 0;
}
