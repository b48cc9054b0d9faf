#include "ui/TeamServerEntry.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdlib>

#include "ui/TeamServerSetting.h"

namespace ui {

TeamServerEntry::TeamServerEntry(QWidget* parent) : QWidget(parent) {
    TeamServer = new QLineEdit(QString::fromStdString(storedTeamAddress()), this);
    TeamServer->setObjectName(QStringLiteral("TeamServer"));
    TeamServer->setPlaceholderText(
        QCoreApplication::translate("TeamServerEntry", "postgresql://сервер/vigil"));
    SaveTeamServer =
        new QPushButton(QCoreApplication::translate("TeamServerEntry", "Сохранить"), this);
    SaveTeamServer->setObjectName(QStringLiteral("SaveTeamServer"));
    TeamServerNote = new QLabel(this);
    TeamServerNote->setObjectName(QStringLiteral("TeamServerNote"));
    TeamServerNote->setWordWrap(true);
    const char* environment = std::getenv("VIGIL_RECORDS");
    if (environment && *environment)
        TeamServerNote->setText(QCoreApplication::translate(
            "TeamServerEntry", "Задана переменная VIGIL_RECORDS: используется она."));
    auto* row = new QHBoxLayout;
    row->addWidget(
        new QLabel(QCoreApplication::translate("TeamServerEntry", "Сервер журнала:"), this));
    row->addWidget(TeamServer, 1);
    row->addWidget(SaveTeamServer);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(TeamServerNote);
    connect(SaveTeamServer, &QPushButton::clicked, this, [this] { saveClick(); });
}

void TeamServerEntry::saveClick() {
    const std::string refused = storeTeamAddress(TeamServer->text().trimmed().toStdString());
    TeamServerNote->setText(
        refused.empty()
            ? QCoreApplication::translate("TeamServerEntry",
                                          "Сохранено; действует со следующего запуска программы.")
            : QString::fromStdString(refused));
}

}  // namespace ui
