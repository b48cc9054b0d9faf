// The journal window with a team server: this PC's units shown at once, the server's united with
// them when they arrive from the worker thread (a unit only a colleague's PC recorded included,
// an event both hold once), and a server that is away told on TeamStatus while this PC's stay.
#include <gmock/gmock.h>

#include <QLabel>
#include <QTableWidget>

#include "WindowFixture.h"
#include "platform/ScriptedFileDialogs.h"
#include "records/NewEvent.h"
#include "ui/UnitJournalWindow.h"

using namespace std::chrono_literals;

namespace {

records::Event readOf(const std::string& idCod) {
    records::Event e = records::newEvent(records::Kind::Read, "vigil", "vigil read --port COM3");
    records::setUnit(e, idCod);
    e.values = {{"Phone1", "+79001112233"}};
    return e;
}

int rowOf(QTableWidget* table, const std::string& unitId) {
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text().toStdString() == unitId) return row;
    return -1;
}

class UnitJournalTeam : public ::testing::Test {
  protected:
    UnitJournalTeam() {
        apptest::application();
        local = records::SqlStore::openSqlite((folder.path() / "records.sqlite").string());
        // Codes of this run's own: the test server may hold other runs' units.
        mine = readOf("0").uuid.substr(0, 8);
        theirs = readOf("0").uuid.substr(0, 8);
    }
    std::unique_ptr<ui::UnitJournalWindow> window(const std::string& team) {
        return std::make_unique<ui::UnitJournalWindow>(
            local.get(), QString(), dialogs, [](const auto&) {}, team);
    }
    apptest::PrivateFolder folder;
    platform::ScriptedFileDialogs dialogs;
    std::unique_ptr<records::SqlStore> local;
    std::string mine, theirs;
};

TEST_F(UnitJournalTeam, TheTeamsUnitsArriveBesideThisPcsOwn) {
    const char* address = std::getenv("VIGIL_TEST_POSTGRES");
    if (!address) GTEST_SKIP() << "no PostgreSQL server given (VIGIL_TEST_POSTGRES)";
    const records::Event sent = readOf(mine + " V 2.07");
    local->add(sent, false);
    auto server = records::SqlStore::openPostgres(address);
    server->add(sent);
    server->add(readOf(theirs + " V 2.08"));
    server->add(readOf(theirs + " V 2.08"));

    auto journal = window(address);
    EXPECT_EQ(journal->UnitsTable->rowCount(), 1);  // this PC's at once
    ASSERT_TRUE(apptest::pumpUntil([&] { return rowOf(journal->UnitsTable, theirs) >= 0; }));
    EXPECT_FALSE(journal->TeamStatus->isVisibleTo(journal.get()));
    EXPECT_EQ(journal->UnitsTable->item(rowOf(journal->UnitsTable, mine), 5)->text(), "1");

    // A unit chosen and left at once: its late answer does not take the other's place.
    journal->UnitsTable->selectRow(rowOf(journal->UnitsTable, theirs));
    EXPECT_EQ(journal->EventsTable->rowCount(), 0);  // none here
    journal->UnitsTable->selectRow(rowOf(journal->UnitsTable, mine));
    ASSERT_TRUE(
        apptest::pumpUntil([&] { return !journal->TeamStatus->isVisibleTo(journal.get()); }));
    apptest::pumpFor(300ms);
    EXPECT_EQ(journal->EventsTable->rowCount(), 1);  // held here and there: once

    journal->UnitsTable->selectRow(rowOf(journal->UnitsTable, theirs));
    ASSERT_TRUE(apptest::pumpUntil([&] { return journal->EventsTable->rowCount() == 2; }));
    journal->EventsTable->selectRow(0);
    EXPECT_TRUE(journal->RestoreToScreen->isEnabled());
}

TEST_F(UnitJournalTeam, AServerAwayLeavesThisPcsRecordsAndSaysSo) {
    local->add(readOf(mine + " V 2.07"), false);
    const std::string away =
        "postgresql:///vigil?host=" + (folder.path() / "no-server").string() + "&port=5";
    auto journal = window(away);
    EXPECT_EQ(journal->UnitsTable->rowCount(), 1);
    ASSERT_TRUE(apptest::pumpUntil(
        [&] { return journal->TeamStatus->text().contains(QStringLiteral("не прочитаны")); }));
    EXPECT_TRUE(journal->TeamStatus->isVisibleTo(journal.get()));
    EXPECT_EQ(journal->UnitsTable->rowCount(), 1);
    journal->UnitsTable->selectRow(0);
    EXPECT_EQ(journal->EventsTable->rowCount(), 1);
}

}  // namespace
