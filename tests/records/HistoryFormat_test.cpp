// The history as a spreadsheet opens it: one row per event whatever its texts hold, and no text
// taken for a formula.
#include "records/HistoryFormat.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "files/Csv.h"

using ::testing::ElementsAre;

namespace {

TEST(HistoryCsv, EveryEventIsOneRowWhateverItsTextsHold) {
    records::Event e;
    e.atUtc = "2026-01-02T03:04:05.000Z";
    e.unitId = "004512";
    e.idCodText = "004512 Версия 2.07, \"Eeprom\" OK";
    e.command = "=HYPERLINK(\"x\")";
    e.port = "-1";
    e.adapter = "\t=1+1";
    e.differences = {{"ModulePhone", "+7999\r\n1", "a;b"}};
    const records::Event events[] = {e, e};
    const std::string text = records::historyCsv(events);
    std::string error;
    const auto table = files::parseCsv(text, error);
    ASSERT_TRUE(table) << error;
    ASSERT_EQ(table->rows.size(), 3u);
    EXPECT_EQ(table->lines, (std::vector<std::size_t>{1, 2, 4}));
    const files::CsvRow& row = table->rows[1];
    ASSERT_EQ(row.size(), table->rows[0].size());
    EXPECT_THAT(std::vector(row.begin(), row.begin() + 3),
                ElementsAre(e.atUtc, "004512", e.idCodText));
    EXPECT_EQ(row[10], "'=HYPERLINK(\"x\")");  // the command
    EXPECT_EQ(row[11], "'-1");                 // the port
    EXPECT_EQ(row[12], "'\t=1+1");             // the adapter
    EXPECT_EQ(row[13], "ModulePhone: +7999\r\n1 -> a;b");
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

}  // namespace
