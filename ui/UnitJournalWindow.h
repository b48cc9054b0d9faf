#pragma once
// File -> "Журнал терминалов…": the units the records know (UnitsTable), the chosen unit's events
// (EventsTable) and, for the chosen event, what differs from the event before it (DiffTable:
// parameter by caption, before, after). Its buttons put the event's values on the screen
// (RestoreToScreen, as File -> Open does, each restored field marked edited), save them as an
// .abt file (SaveEventAsAbt) and export the unit's history as CSV (ExportHistoryCsv).
// With a team server set, this PC's records are shown at once and the server's are united with
// them when they arrive, read on a worker thread (TeamStatus tells when they could not be read).
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/ValueStore.h"
#include "records/SqlStore.h"
#include "records/TeamRecords.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace platform {
class FileDialogs;
}

namespace ui {

class TeamServerEntry;

class UnitJournalWindow : public QWidget {
    Q_OBJECT
  public:
    // `restore` puts values on the main window's screen; `store` may be null (records not kept,
    // `problem` says why); `teamAddress` the team's server ("" without one).
    using Restore = std::function<void(const std::function<void(protocol::ControlAccess&)>&)>;
    UnitJournalWindow(records::SqlStore* store, QString problem, platform::FileDialogs& dialogs,
                      Restore restore, std::string teamAddress = {}, QWidget* parent = nullptr);

    // Reads the units again (the window is kept between openings).
    void reload();
    // How many events wait for the team's server ("" without one).
    void setPending(const QString& text);

    QTableWidget* UnitsTable = nullptr;
    QTableWidget* EventsTable = nullptr;
    QTableWidget* DiffTable = nullptr;
    QPushButton* RestoreToScreen = nullptr;
    QPushButton* SaveEventAsAbt = nullptr;
    QPushButton* ExportHistoryCsv = nullptr;
    QLabel* Problem = nullptr;
    QLabel* Pending = nullptr;
    QLabel* TeamStatus = nullptr;  // the team's records being read, or why they could not be
    TeamServerEntry* TeamServer = nullptr;  // the team's records server, set here

  private:
    void unitChosen();
    void eventChosen();
    void restoreToScreenClick();
    void saveEventAsAbtClick();
    void exportHistoryCsvClick();
    const records::Event* chosenEvent() const;
    // The chosen event's values, checked whole; nullopt (the reason shown) when they cannot be
    // used.
    std::optional<protocol::ValueStore> chosenValues();
    void showError(const std::string& text);
    void fillUnits();
    void fillEvents();
    // Runs `read` on a worker thread and hands its result to `arrived` on this window's thread
    // (never after the window has gone).
    void readFromTeam(std::function<records::ServerRead()> read,
                      std::function<void(const records::ServerRead&)> arrived);
    void teamUnitsArrived(const records::ServerRead& server);
    void teamEventsArrived(const std::string& unitId, const records::ServerRead& server);
    // The server's answer as TeamStatus shows it; false when it could not be read.
    bool showTeamStatus(const records::ServerRead& server);
    std::string chosenUnit() const;

    records::SqlStore* store_;
    std::string team_;
    // Counts the units chosen, so that a late answer for an earlier choice is dropped.
    std::shared_ptr<std::atomic<int>> eventsWanted_ = std::make_shared<std::atomic<int>>(0);
    platform::FileDialogs& dialogs_;
    Restore restore_;
    std::vector<records::UnitSummary> units_;
    std::vector<records::Event> events_;  // of the chosen unit, oldest first
};

}  // namespace ui
