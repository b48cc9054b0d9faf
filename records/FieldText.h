#pragma once
// Lists of values and differences in one text column: a line per entry, fields split by tabs,
// with "\\", "\t" and "\n" escaped so any value (a tab or line end in an APN) comes back whole.
#include <string>
#include <string_view>
#include <vector>

#include "records/Event.h"

namespace records {

std::string encodeValues(const Values& values);
Values decodeValues(std::string_view text);

std::string encodeDifferences(const std::vector<Difference>& differences);
std::vector<Difference> decodeDifferences(std::string_view text);

}  // namespace records
