// Comma-separated values as the spreadsheets write them and as the program writes them back.
#include "files/Csv.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

TEST(Csv, FieldsSurviveAWriteAndAReadBack) {
    const std::vector<std::string> row = {"U1", "a,b", "say \"hi\"", "two\nlines", "", "тест"};
    for (const char separator : {',', ';'}) {
        std::string error;
        const std::string text = files::csvLine({"unit", "x", "y", "z", "w", "v"}, separator) +
                                 files::csvLine(row, separator);
        const auto table = files::parseCsv("\xEF\xBB\xBF" + text, error);
        ASSERT_TRUE(table) << error;
        EXPECT_EQ(table->separator, separator);
        EXPECT_THAT(table->rows, ElementsAre(ElementsAre("unit", "x", "y", "z", "w", "v"), row));
    }
    std::string error;
    const auto crlf = files::parseCsv("unit,TL9\r\n\r\nU1,1\r\nU2,\"\"\r\n", error);
    ASSERT_TRUE(crlf);
    EXPECT_THAT(crlf->rows, ElementsAre(ElementsAre("unit", "TL9"), ElementsAre("U1", "1"),
                                        ElementsAre("U2", "")));
    EXPECT_THAT(crlf->lines, ElementsAre(1u, 3u, 4u));
}

}  // namespace
