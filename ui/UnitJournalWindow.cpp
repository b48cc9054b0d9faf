#include "ui/UnitJournalWindow.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "files/AbtFile.h"
#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "protocol/FieldCaptions.h"
#include "protocol/TransmitBuffer.h"
#include "protocol/ValueStore.h"
#include "records/EventChanges.h"
#include "records/HistoryFormat.h"
#include "records/Snapshot.h"
#include "ui/TeamServerEntry.h"

namespace ui {
namespace {

// The parameter as the operator knows it from its page: "Телефон модуля (ModulePhone)".
std::string captionOf(const std::string& parameterName) {
    for (const protocol::Parameter& p : protocol::kParameters)
        if (p.name == parameterName) return protocol::fieldCaption(p) + " (" + parameterName + ")";
    return parameterName;
}

QTableWidget* table(QWidget* parent, const char* name, const QStringList& headers) {
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(headers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->verticalHeader()->setVisible(false);
    t->horizontalHeader()->setStretchLastSection(true);
    // Each column at least as wide as its heading, which is longer in one language than the other.
    for (int c = 0; c < t->columnCount(); ++c)
        t->setColumnWidth(c,
                          std::max(t->columnWidth(c), t->horizontalHeader()->sectionSizeHint(c)));
    return t;
}

void fillRow(QTableWidget* t, int row, const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c)
        t->setItem(row, static_cast<int>(c),
                   new QTableWidgetItem(QString::fromStdString(cells[c])));
}

// "2026-11-12T09:30:00.125Z" -> "2026-11-12 09:30:00" (UTC).
std::string shownTime(const std::string& utc) {
    if (utc.size() < 19) return utc;
    return utc.substr(0, 10) + " " + utc.substr(11, 8);
}

}  // namespace

UnitJournalWindow::UnitJournalWindow(records::SqlStore* store, QString problem,
                                     platform::FileDialogs& dialogs, Restore restore,
                                     std::string teamAddress, QWidget* parent)
    : QWidget(parent, Qt::Window),
      store_(store),
      team_(std::move(teamAddress)),
      dialogs_(dialogs),
      restore_(std::move(restore)) {
    setObjectName(QStringLiteral("UnitJournalWindow"));
    setWindowTitle(QCoreApplication::translate("UnitJournalWindow", "Журнал терминалов"));
    resize(900, 600);
    UnitsTable = table(this, "UnitsTable",
                       {QCoreApplication::translate("UnitJournalWindow", "Код ид."),
                        QCoreApplication::translate("UnitJournalWindow", "Телефон модуля"),
                        QCoreApplication::translate("UnitJournalWindow", "Версия"),
                        QCoreApplication::translate("UnitJournalWindow", "Последняя запись (UTC)"),
                        QCoreApplication::translate("UnitJournalWindow", "Результат"),
                        QCoreApplication::translate("UnitJournalWindow", "Записей")});
    EventsTable = table(this, "EventsTable",
                        {QCoreApplication::translate("UnitJournalWindow", "Время (UTC)"),
                         QCoreApplication::translate("UnitJournalWindow", "Действие"),
                         QCoreApplication::translate("UnitJournalWindow", "Результат"),
                         QCoreApplication::translate("UnitJournalWindow", "Оператор"),
                         QCoreApplication::translate("UnitJournalWindow", "Компьютер"),
                         QCoreApplication::translate("UnitJournalWindow", "Программа"),
                         QCoreApplication::translate("UnitJournalWindow", "Порт")});
    DiffTable = table(this, "DiffTable",
                      {QCoreApplication::translate("UnitJournalWindow", "Параметр"),
                       QCoreApplication::translate("UnitJournalWindow", "Было"),
                       QCoreApplication::translate("UnitJournalWindow", "Стало")});
    RestoreToScreen = new QPushButton(
        QCoreApplication::translate("UnitJournalWindow", "Значения на экран"), this);
    RestoreToScreen->setObjectName(QStringLiteral("RestoreToScreen"));
    SaveEventAsAbt = new QPushButton(
        QCoreApplication::translate("UnitJournalWindow", "Сохранить как .abt…"), this);
    SaveEventAsAbt->setObjectName(QStringLiteral("SaveEventAsAbt"));
    ExportHistoryCsv =
        new QPushButton(QCoreApplication::translate("UnitJournalWindow", "История в CSV…"), this);
    ExportHistoryCsv->setObjectName(QStringLiteral("ExportHistoryCsv"));
    Problem = new QLabel(problem, this);
    Problem->setObjectName(QStringLiteral("Problem"));
    Problem->setVisible(!problem.isEmpty());

    Pending = new QLabel(this);
    Pending->setObjectName(QStringLiteral("Pending"));
    Pending->setVisible(false);
    TeamStatus = new QLabel(this);
    TeamStatus->setObjectName(QStringLiteral("TeamStatus"));
    TeamStatus->setWordWrap(true);
    TeamStatus->setVisible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RestoreToScreen);
    buttons->addWidget(SaveEventAsAbt);
    buttons->addWidget(ExportHistoryCsv);
    buttons->addStretch();
    buttons->addWidget(Pending);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Problem);
    layout->addWidget(TeamStatus);
    layout->addWidget(UnitsTable, 2);
    layout->addWidget(EventsTable, 2);
    layout->addWidget(DiffTable, 2);
    layout->addLayout(buttons);
    TeamServer = new TeamServerEntry(this);
    layout->addWidget(TeamServer);

    connect(UnitsTable, &QTableWidget::itemSelectionChanged, this, [this] { unitChosen(); });
    connect(EventsTable, &QTableWidget::itemSelectionChanged, this, [this] { eventChosen(); });
    connect(RestoreToScreen, &QPushButton::clicked, this, [this] { restoreToScreenClick(); });
    connect(SaveEventAsAbt, &QPushButton::clicked, this, [this] { saveEventAsAbtClick(); });
    connect(ExportHistoryCsv, &QPushButton::clicked, this, [this] { exportHistoryCsvClick(); });
    reload();
}

void UnitJournalWindow::reload() {
    units_.clear();
    if (store_) {
        try {
            units_ = store_->units();
        } catch (const records::StoreError& e) {
            Problem->setText(QString::fromUtf8(e.what()));
            Problem->setVisible(true);
        }
    }
    UnitsTable->clearSelection();
    fillUnits();
    unitChosen();
    if (store_ && !team_.empty())
        readFromTeam([team = team_] { return records::readServerUnits(team); },
                     [this](const records::ServerRead& server) { teamUnitsArrived(server); });
}

void UnitJournalWindow::fillUnits() {
    UnitsTable->setRowCount(static_cast<int>(units_.size()));
    for (std::size_t i = 0; i < units_.size(); ++i) {
        const records::UnitSummary& u = units_[i];
        fillRow(UnitsTable, static_cast<int>(i),
                {u.unitId, u.ownNumber, u.firmwareVersion, shownTime(u.lastSeen), u.lastResult,
                 std::to_string(u.events)});
    }
    // A unit's summary is a few short cells: shown whole.
    UnitsTable->resizeColumnsToContents();
}

void UnitJournalWindow::readFromTeam(std::function<records::ServerRead()> read,
                                     std::function<void(const records::ServerRead&)> arrived) {
    TeamStatus->setText(
        QCoreApplication::translate("UnitJournalWindow", "Чтение записей команды…"));
    TeamStatus->setVisible(true);
    // The watcher is the window's: a window closed meanwhile takes the delivery with it.
    auto* watcher = new QFutureWatcher<records::ServerRead>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, arrived = std::move(arrived)] {
        arrived(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(std::move(read)));
}

bool UnitJournalWindow::showTeamStatus(const records::ServerRead& server) {
    TeamStatus->setVisible(!server.problem.empty());
    if (server.problem.empty()) return true;
    TeamStatus->setText(QCoreApplication::translate(
                            "UnitJournalWindow",
                            "Записи команды не прочитаны, показаны записи этого компьютера: %1")
                            .arg(QString::fromUtf8(server.problem)));
    return false;
}

void UnitJournalWindow::teamUnitsArrived(const records::ServerRead& server) {
    if (!showTeamStatus(server) || !store_) return;
    const std::string chosen = chosenUnit();
    try {
        units_ = records::unitedUnits(store_->units(), server.units, store_->pendingPerUnit());
    } catch (const records::StoreError& e) {
        Problem->setText(QString::fromUtf8(e.what()));
        Problem->setVisible(true);
        return;
    }
    // The chosen unit stays chosen, its events as they are (their own read is under way).
    const QSignalBlocker quiet(UnitsTable);
    UnitsTable->clearSelection();
    fillUnits();
    for (std::size_t i = 0; i < units_.size(); ++i)
        if (!chosen.empty() && units_[i].unitId == chosen)
            UnitsTable->selectRow(static_cast<int>(i));
}

void UnitJournalWindow::teamEventsArrived(const std::string& unitId,
                                          const records::ServerRead& server) {
    if (!store_ || unitId != chosenUnit() || !showTeamStatus(server)) return;
    const records::Event* chosen = chosenEvent();
    const std::string uuid = chosen ? chosen->uuid : std::string();
    try {
        events_ = records::unitedEvents(store_->events(unitId), server.events);
    } catch (const records::StoreError& e) {
        return showError(e.what());
    }
    {
        const QSignalBlocker quiet(EventsTable);
        EventsTable->clearSelection();
        fillEvents();
        for (std::size_t i = 0; i < events_.size(); ++i)
            if (!uuid.empty() && events_[i].uuid == uuid)
                EventsTable->selectRow(static_cast<int>(i));
    }
    eventChosen();
}

std::string UnitJournalWindow::chosenUnit() const {
    const int row = UnitsTable->currentRow();
    if (!UnitsTable->selectionModel()->hasSelection() || row < 0 ||
        row >= static_cast<int>(units_.size()))
        return {};
    return units_[static_cast<std::size_t>(row)].unitId;
}

void UnitJournalWindow::setPending(const QString& text) {
    Pending->setText(text);
    Pending->setVisible(!text.isEmpty());
}

void UnitJournalWindow::unitChosen() {
    events_.clear();
    const std::string unit = chosenUnit();
    if (store_ && !unit.empty()) {
        try {
            events_ = store_->events(unit);
        } catch (const records::StoreError& e) {
            showError(e.what());
        }
        // Only the latest choice's read counts; one still queued when another unit is chosen
        // (the arrow keys run down the list) does not go to the server at all.
        const int choice = ++*eventsWanted_;
        if (!team_.empty())
            readFromTeam(
                [team = team_, unit, wanted = eventsWanted_, choice] {
                    if (*wanted != choice) return records::ServerRead{};
                    return records::readServerEvents(team, unit);
                },
                [this, unit, choice](const records::ServerRead& server) {
                    if (*eventsWanted_ == choice) teamEventsArrived(unit, server);
                });
    }
    EventsTable->clearSelection();
    fillEvents();
    eventChosen();
}

void UnitJournalWindow::fillEvents() {
    EventsTable->setRowCount(static_cast<int>(events_.size()));
    for (std::size_t i = 0; i < events_.size(); ++i) {
        const records::Event& e = events_[i];
        fillRow(EventsTable, static_cast<int>(i),
                {shownTime(e.atUtc), std::string(records::kindName(e.kind)),
                 std::string(records::resultName(e.result)), e.operatorLogin, e.host,
                 e.program + (e.command.empty() ? "" : ": " + e.command), e.port});
    }
    ExportHistoryCsv->setEnabled(!events_.empty());
}

const records::Event* UnitJournalWindow::chosenEvent() const {
    const int row = EventsTable->currentRow();
    if (!EventsTable->selectionModel()->hasSelection() || row < 0 ||
        row >= static_cast<int>(events_.size()))
        return nullptr;
    return &events_[static_cast<std::size_t>(row)];
}

void UnitJournalWindow::eventChosen() {
    const records::Event* e = chosenEvent();
    DiffTable->setRowCount(0);
    RestoreToScreen->setEnabled(e && records::holdsSettings(*e));
    SaveEventAsAbt->setEnabled(e && records::holdsSettings(*e));
    if (!e) return;
    const std::vector<records::Difference> rows =
        records::changesOf(events_, static_cast<std::size_t>(e - events_.data()));
    DiffTable->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        fillRow(DiffTable, static_cast<int>(i),
                {captionOf(rows[i].parameter), rows[i].before, rows[i].after});
}

std::optional<protocol::ValueStore> UnitJournalWindow::chosenValues() {
    const records::Event* e = chosenEvent();
    if (!e || !records::holdsSettings(*e)) return std::nullopt;
    std::string why;
    protocol::ValueStore values;
    if (!records::applySnapshot(e->values, values, why)) {
        showError(why);
        return std::nullopt;
    }
    return values;
}

void UnitJournalWindow::restoreToScreenClick() {
    if (!chosenValues()) return;  // checked whole before the screen changes
    restore_([values = chosenEvent()->values](protocol::ControlAccess& screen) {
        std::string unused;
        records::applySnapshot(values, screen, unused);
    });
}

void UnitJournalWindow::saveEventAsAbtClick() {
    const auto values = chosenValues();
    if (!values) return;
    protocol::TransmitBuffer buffer;
    const protocol::ComposeResult composed = files::composeAbt(*values, buffer);
    if (!composed.ok) return showError(composed.message);
    const auto path =
        dialogs_.save(platform::translated("UnitJournalWindow", "Файлы конфигурации(*.abt)|*.abt"));
    if (!path) return;
    if (const std::string error = platform::writeFileAtomically(*path, buffer.view());
        !error.empty())
        showError(error);
}

void UnitJournalWindow::exportHistoryCsvClick() {
    if (events_.empty()) return;
    const auto path =
        dialogs_.save(platform::translated("UnitJournalWindow", "Файлы CSV(*.csv)|*.csv"));
    if (!path) return;
    if (const std::string error =
            platform::writeFileAtomically(*path, records::historyCsv(events_));
        !error.empty())
        showError(error);
}

void UnitJournalWindow::showError(const std::string& text) {
    platform::messages().show(text, "", platform::MessageIcon::Warning,
                              platform::MessageButtons::Ok);
}

}  // namespace ui
