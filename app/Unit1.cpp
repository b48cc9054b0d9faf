// TForm1: construction, the wiring of its controls to their handlers, start and close.
#include "app/Unit1.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

#include "app/KeyboardShortcuts.h"
#include "app/Unit1Upload.h"
#include "app/Unit1Verify.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/RegistryStore.h"
#include "platform/qt/AccessibleNames.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtTimer.h"
#include "protocol/ParameterTable.h"
#include "serial/Unit2.h"
#include "ui/AddressCheck.h"
#include "ui/D6onhelpfix.h"
#include "ui/FieldExit.h"
#include "ui/MonitorView.h"

namespace {
constexpr const char* kMarkerKey = "Quorveth\\Gprs";
}

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vigil"));
    // Can be minimised, not maximised.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildMenu();
    buildToolBar();
    buildPages();
    buildStatusBar();
    app::bindKeyboardShortcuts(*this);
    platform::nameControls(*this);
    setFixedSize(660, 520);

    HelpFilePath.clear();
    Monitor = std::make_unique<ui::MonitorView>(MemoIn);
    for (std::size_t i = 0; i < CheckBoxList.size(); ++i)
        CheckBoxList[i] = findChild<QCheckBox*>(
            QString::fromStdString(std::string(protocol::kCheckBoxList[i]->control)));
    // Connection periods and protocols only show what an answer or a file brings.
    for (std::size_t i = 0; i < 4; ++i) {
        EConnectPeriod[i]->setEnabled(false);
        CBGet[i]->setEnabled(false);
    }
    Controls.index(this);
    Verify = std::make_unique<app::Unit1Verify>(*this);
    Verify->onReport = [this](const session::WatchReport& r, bool stillWaiting, bool fromTerminal) {
        closeIfWritten(r, stillWaiting, fromTerminal);
    };
    setTimers(std::make_unique<platform::QtTimer>(), std::make_unique<platform::QtTimer>());
    Dialogs = std::make_unique<platform::QtFileDialogs>(this);
    connectHandlers();
    setupHelp();

    PageControl1->setCurrentIndex(0);
    ReadInternetB->setFocus();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::setTimers(std::unique_ptr<platform::Timer> timer1,
                       std::unique_ptr<platform::Timer> recordTimer) {
    // The upload holds the timers and takes over their ticks; it is made anew around the new ones.
    Upload.reset();
    Timer1 = std::move(timer1);
    Timer1->setEnabled(false);
    Timer1->setInterval(5000);
    RecordTimer = std::move(recordTimer);
    RecordTimer->setEnabled(false);
    Upload = std::make_unique<Unit1Upload>(*this);
}

void TForm1::setAnswerTimers(std::unique_ptr<platform::Timer> answers,
                             std::unique_ptr<platform::Timer> compare) {
    Verify->setTimers(std::move(answers), std::move(compare));
}

void TForm1::setFileDialogs(std::unique_ptr<platform::FileDialogs> dialogs) {
    Dialogs = std::move(dialogs);
}

QString TForm1::panelText(int panel) const {
    return StatusPanels.at(static_cast<std::size_t>(panel))->text();
}

void TForm1::setPanelText(int panel, const QString& text) {
    StatusPanels.at(static_cast<std::size_t>(panel))->setText(text);
}

void TForm1::connectHandlers() {
    connect(Open1, &QAction::triggered, this, [this] { Open1Click(); });
    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(CompareWithTerminal, &QAction::triggered, this, [this] { CompareWithTerminalClick(); });
    connect(OpenUnitJournal, &QAction::triggered, this, [this] { OpenUnitJournalClick(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(Contents, &QAction::triggered, this, [this] { ContentsClick(); });
    connect(About1, &QAction::triggered, this, [this] { About1Click(); });

    connect(ToolButton1, &QToolButton::clicked, this, [this] { ToolButton1Click(); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { ToolButton3Click(); });
    connect(ToolButton5, &QToolButton::clicked, this, [this] { ToolButton5Click(); });
    connect(ToolButton6, &QToolButton::clicked, this, [this] { ToolButton6Click(); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        if (!switchingPage_) PageControl1Change(index);
    });

    const std::pair<QPushButton*, void (TForm1::*)()> buttons[] = {
        {ReadInternetB, &TForm1::ReadInternetBClick},
        {WriteInternetB, &TForm1::WriteInternetBClick},
        {ReadApnB, &TForm1::ReadApnBClick},
        {WriteApnB, &TForm1::WriteApnBClick},
        {Button1, &TForm1::Button1Click},
        {ReadTLB, &TForm1::ReadTLBClick},
        {WriteTLB, &TForm1::WriteTLBClick},
        {ReadGpsB, &TForm1::ReadGpsBClick},
        {ReadMicB, &TForm1::ReadMicBClick},
        {WriteMicB, &TForm1::WriteMicBClick},
        {BUpgrade, &TForm1::BUpgradeClick},
        {BClearMemo, &TForm1::BClearMemoClick}};
    for (const auto& [b, handler] : buttons)
        connect(b, &QPushButton::clicked, this, [this, h = handler] { (this->*h)(); });

    for (int n = 1; n <= 4; ++n) {
        const auto k = static_cast<std::size_t>(n - 1);
        connect(EditIp[k], &QLineEdit::textChanged, this, [this, n] { EditIpChange(n); });
        connect(EditPort[k], &QLineEdit::textChanged, this, [this, n] { EditPortChange(n); });
        ui::FieldExit::watch(EditIp[k], [this, n] { EditIpExit(n); });
    }
    Label35->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == Label35) {
        Label35Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

// The first-run marker: opened without creating; when missing, created with "ItemIndex" = 0.
// A store that cannot be written only loses the marker; the program starts all the same.
void TForm1::touchRegistryMarker(bool writeDefault) {
    try {
        platform::Registry registry;
        if (!registry.openKey(kMarkerKey, false)) {
            if (registry.openKey(kMarkerKey, true) && writeDefault)
                registry.writeInteger("ItemIndex", 0);
        }
        registry.closeKey();
    } catch (const platform::ERegistryException&) {
    }
}

void TForm1::FormCreate() {
    touchRegistryMarker(true);
}

void TForm1::Exit1Click() {
    touchRegistryMarker(false);
    close();
}

void TForm1::FormClose() {
    touchRegistryMarker(false);
    if (Form2) Form2->SaveInRegistry();
    closeHelpWindows();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
    // Closing the main window ends the program, even with the port window still open.
    QCoreApplication::quit();
}

// Typed values not in the terminal yet are written first, dropped, or keep the window open.
bool TForm1::mayClose() {
    const std::vector<const protocol::Parameter*> all = session::everyParameter();
    switch (Verify->askBeforeLosing(app::Loss::Close, all)) {
        case platform::MessageResult::Discard:
            closeWhenWritten_ = false;
            return true;
        case platform::MessageResult::Write: {
            // Asked again while that write is on its way: it is still awaited, nothing goes twice.
            if (closeWhenWritten_ && (Verify->waiting() || writeSnapshotMask_ != 0)) return false;
            // An answer that came while the question was open may have confirmed everything.
            RequestMask = Verify->editedWriteMask();
            if (RequestMask == 0) return true;
            const std::size_t before = Verify->requestsSent();
            SendRequest();
            // Not sent (closed port, a refused value, controls still awaiting an answer): the box
            // has said why, and the window stays with the values.
            closeWhenWritten_ = Verify->requestsSent() != before || writeSnapshotMask_ != 0;
            return false;
        }
        default:
            closeWhenWritten_ = false;
            return false;
    }
}

// Only a write that came back whole and equal, with nothing edited left, closes the window; any
// silence or difference keeps it open with its report, and so does a file, the terminal's values
// taken or an edit meanwhile (the operator is at work again).
void TForm1::closeIfWritten(const session::WatchReport& report, bool stillWaiting,
                            bool fromTerminal) {
    if (!closeWhenWritten_) return;
    if (!fromTerminal || report.silent || !report.restoredTabs.empty() ||
        !report.mismatches.empty()) {
        closeWhenWritten_ = false;
        return;
    }
    if (stillWaiting) return;
    closeWhenWritten_ = false;
    if (Verify->editedWriteMask() == 0)
        QTimer::singleShot(0, this, [this] { close(); });  // out of the delivery
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TForm1::showPage(QWidget* page) {
    switchingPage_ = true;
    PageControl1->setCurrentWidget(page);
    switchingPage_ = false;
}

void TForm1::EditIpChange(int n) {
    ui::warnEach(ui::addressTypingWarnings(
        EditIp.at(static_cast<std::size_t>(n - 1))->text().toStdString()));
}

void TForm1::EditIpExit(int n) {
    ui::warnEach(ui::addressCompletenessWarnings(
        EditIp.at(static_cast<std::size_t>(n - 1))->text().toStdString(), n));
}

void TForm1::EditPortChange(int n) {
    ui::warnEach(
        ui::portWarnings(EditPort.at(static_cast<std::size_t>(n - 1))->text().toStdString()));
}

void TForm1::Label35Click() {
    Label35->setText(QStringLiteral("0"));
}
