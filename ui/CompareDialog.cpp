#include "ui/CompareDialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/qt/AccessibleNames.h"
#include "protocol/Cp1251.h"
#include "protocol/FieldCaptions.h"
#include "ui/TRadioGroup.h"

namespace ui {
namespace {

using protocol::Parameter;
using protocol::ValueForm;

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// The parameter as the terminal names it: its answer key without "=".
// Its caption on the page, then its key: "Телефон 2: Номер (TL2)".
QString parameterName(const Parameter& p) {
    QString name = QString::fromStdString(protocol::fieldCaption(p)) + QStringLiteral(" (") +
                   utf8(p.answerKey.substr(0, p.answerKey.size() - 1)) + QStringLiteral(")");
    if (p.group == protocol::WriteGroup::None)
        name += QCoreApplication::translate("CompareDialog", " (только чтение)");
    return name;
}

}  // namespace

CompareDialog::CompareDialog(QWidget& window) : QDialog(&window), window_(window) {
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(QCoreApplication::translate("CompareDialog", "Сравнение с терминалом"));
    auto* column = new QVBoxLayout(this);
    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("CompareSummary"));
    column->addWidget(Summary);
    CompareTable = new QTableWidget(0, 4, this);
    CompareTable->setObjectName(QStringLiteral("CompareTable"));
    CompareTable->setHorizontalHeaderLabels(
        {QCoreApplication::translate("CompareDialog", "Параметр"),
         QCoreApplication::translate("CompareDialog", "Вкладка"),
         QCoreApplication::translate("CompareDialog", "На экране"),
         QCoreApplication::translate("CompareDialog", "В терминале")});
    CompareTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CompareTable->verticalHeader()->hide();
    CompareTable->horizontalHeader()->setStretchLastSection(true);
    column->addWidget(CompareTable);
    auto* row = new QHBoxLayout;
    CompareWriteScreen = button(
        "CompareWriteScreen",
        QCoreApplication::translate("CompareDialog", "Записать в терминал значения с экрана"),
        this);
    CompareTakeTerminal =
        button("CompareTakeTerminal",
               QCoreApplication::translate("CompareDialog", "Взять значения терминала"), this);
    CompareClose =
        button("CompareClose", QCoreApplication::translate("CompareDialog", "Закрыть"), this);
    row->addWidget(CompareWriteScreen);
    row->addWidget(CompareTakeTerminal);
    row->addStretch();
    row->addWidget(CompareClose);
    column->addLayout(row);
    connect(CompareWriteScreen, &QPushButton::clicked, this, [this] {
        hide();
        if (onWriteScreen) onWriteScreen();
    });
    connect(CompareTakeTerminal, &QPushButton::clicked, this, [this] {
        hide();
        if (onTakeTerminal) onTakeTerminal();
    });
    connect(CompareClose, &QPushButton::clicked, this, &QDialog::hide);
    resize(620, 360);
    platform::nameControls(*this);
}

void CompareDialog::showDifferences(const std::vector<protocol::ValueMismatch>& differences,
                                    bool anyWritable) {
    Summary->setText(differences.empty()
                         ? QCoreApplication::translate(
                               "CompareDialog", "Значения на экране и в терминале совпадают.")
                         : QCoreApplication::translate("CompareDialog", "Различаются значения: %1")
                               .arg(differences.size()));
    CompareTable->setRowCount(static_cast<int>(differences.size()));
    int r = 0;
    for (const protocol::ValueMismatch& d : differences) {
        const Parameter& p = *d.parameter;
        const QString cells[] = {parameterName(p),
                                 QString::fromStdString(protocol::tabCaption(p.tab)),
                                 valueText(p, d.expected), valueText(p, d.actual)};
        for (int c = 0; c < 4; ++c) CompareTable->setItem(r, c, new QTableWidgetItem(cells[c]));
        ++r;
    }
    CompareTable->resizeColumnsToContents();
    CompareWriteScreen->setEnabled(anyWritable);
    CompareTakeTerminal->setEnabled(!differences.empty());
    show();
    raise();
}

QString CompareDialog::itemText(const Parameter& p, int index) const {
    const QString name = utf8(p.control);
    if (auto* list = window_.findChild<QComboBox*>(name)) return list->itemText(index);
    if (auto* group = window_.findChild<TRadioGroup*>(name)) {
        const auto items = group->findChildren<QAbstractButton*>();
        if (index < items.size()) return items[index]->text();
    }
    return QString::number(index);
}

QString CompareDialog::valueText(const Parameter& p, const std::optional<std::string>& wire) const {
    if (!wire) return QCoreApplication::translate("CompareDialog", "нет ответа");
    const std::string& v = *wire;
    switch (p.form) {
        case ValueForm::Text:
            return v.empty() ? QCoreApplication::translate("CompareDialog", "(пусто)")
                             : QString::fromStdString(protocol::fromCp1251ForDisplay(v));
        case ValueForm::Flag:
            return v == "1" ? QCoreApplication::translate("CompareDialog", "да")
                            : QCoreApplication::translate("CompareDialog", "нет");
        case ValueForm::IndexDigit:
        case ValueForm::PressCountDigit: {
            const int index =
                v.size() == 1 ? v[0] - (p.form == ValueForm::IndexDigit ? '0' : '1') : -1;
            return index >= 0 && index < p.itemCount
                       ? itemText(p, index)
                       : QCoreApplication::translate("CompareDialog", "не выбрано");
        }
        case ValueForm::HexDigit:
            return v.size() == 1 ? QString::number(QString(QChar(v[0])).toInt(nullptr, 16))
                                 : utf8(v);
    }
    return utf8(v);
}

}  // namespace ui
