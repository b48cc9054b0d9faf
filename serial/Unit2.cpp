#include "serial/Unit2.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <stdexcept>
#include <utility>

#include "platform/Catalogue.h"
#include "platform/Delivery.h"
#include "platform/MessageService.h"
#include "serial/Unit2PortWatch.h"

namespace {

// The main window decides "connected" by this caption, trailing blank included.
// Asked for when shown: the catalogue is loaded after static initialisation.
QString disconnectCaption() {
    return QCoreApplication::translate("TForm2", "Отключить ");
}
QString connectCaption() {
    return QCoreApplication::translate("TForm2", "Подключить");
}
std::string linkBroken() {
    return platform::translated("TForm2", "Разрыв соединения");
}
constexpr const char* kPortErrorCaption = QT_TRANSLATE_NOOP("TForm2", "COM port error");

// The framework's failed string-to-integer conversion.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The framework's StrToInt: optional blanks, an optional sign, then decimal digits (or "$"/"0x"
// and hexadecimal digits), nothing after them, within the int range.
int StrToInt(const QString& text) {
    const auto fail = [&] {
        return EConvertError("'" + text.toStdString() + "' is not a valid integer value");
    };
    QString s = text;
    while (!s.isEmpty() && (s.front() == u' ' || s.front() == u'\t')) s.remove(0, 1);
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s.remove(0, 1);
    }
    int base = 10;
    if (s.startsWith(u'$')) {
        base = 16;
        s.remove(0, 1);
    } else if (s.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        base = 16;
        s.remove(0, 2);
    }
    if (s.isEmpty()) throw fail();
    long long n = 0;
    for (QChar c : s) {
        const int digit = c.isDigit() && c.unicode() < 128 ? c.unicode() - u'0'
                          : base == 16 && QStringLiteral("abcdef").contains(c.toLower())
                              ? c.toLower().unicode() - u'a' + 10
                              : -1;
        if (digit < 0) throw fail();
        n = n * base + digit;
        if (n > static_cast<long long>(INT_MAX) + 1) throw fail();
    }
    if (negative) n = -n;
    if (n > INT_MAX || n < INT_MIN) throw fail();
    return static_cast<int>(n);
}

QString DesignTimePort(int n) {
    return QStringLiteral("COM%1").arg(n);
}

}  // namespace

// As the framework shows an exception that ends a handler: a plain box with its text.
void TForm2::ShowException(const std::exception& e) {
    platform::messages().show(e.what(), "", platform::MessageIcon::Error,
                              platform::MessageButtons::Ok);
}

TForm2::TForm2(QWidget* parent)
    : QWidget(parent),
      CommPort1(std::make_unique<TCommPort>(this)),
      ReceiveBuffer(ownReceiveBuffer_.data()) {
    CreateControls();
    QStringList designTime;
    for (int n = 1; n <= 15; ++n) designTime << DesignTimePort(n);
    SetPortItems(designTime);

    CommPort1->OnOpen = [this](TCommPort* s, int error) { CommPort1Open(s, error); };
    CommPort1->OnClose = [this](TCommPort* s) { CommPort1Close(s); };
    CommPort1->OnDataReceived = [this](TCommPort* s, std::uint32_t count) {
        CommPort1DataReceived(s, count);
    };
    CommPort1->OnTxDSignal = [this](TCommPort* s) { CommPort1TxDSignal(s); };
    CommPort1->OnDeviceLost = [this](TCommPort* s) { CommPort1DeviceLost(s); };
    CommPort1->OnOpenFailed = [this](TCommPort* s) { CommPort1OpenFailed(s); };

    // The operator only picks the port; the other settings come from the registry.
    Button1->hide();
    for (QComboBox* box : {ComboBox1, ComboBox3, ComboBox4, ComboBox5, ComboBox6})
        box->setEnabled(false);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheet2), false);

    ConnectControls();
    FormCreate();
    portWatch_ = new TPortListWatch(this, [this] { ComboBox2DropDown(); });
}

TForm2::~TForm2() {
    // The component closes the port as it goes; nobody is left to hear of it.
    OnLinkStateChanged = nullptr;
    OnReplyReceived = nullptr;
    CommPort1->OnOpen = nullptr;
    CommPort1->OnClose = nullptr;
    CommPort1->OnDataReceived = nullptr;
    CommPort1->OnTxDSignal = nullptr;
    CommPort1->OnDeviceLost = nullptr;
    CommPort1->OnOpenFailed = nullptr;
    CommPort1.reset();
}

void TForm2::ConnectControls() {
    // activated: only what the operator does counts as a change, as with the framework's OnChange.
    connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
    connect(ComboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
    connect(ComboBox4, &QComboBox::activated, this, [this] { ComboBox4Change(); });
    connect(ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Change(); });
    connect(ComboBox6, &QComboBox::activated, this, [this] { ComboBox6Change(); });
    connect(ComboBox2, &QComboBox::currentIndexChanged, this,
            [this] { ShowSelectedPortDetails(); });
    ComboBox2->OnDropDown = [this] { ComboBox2DropDown(); };
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

void TForm2::BringToFront() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    const QRect frame = frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        const int x = std::clamp(frame.left(), area.left(),
                                 std::max(area.left(), area.right() + 1 - frame.width()));
        const int y = std::clamp(frame.top(), area.top(),
                                 std::max(area.top(), area.bottom() + 1 - frame.height()));
        if (x != frame.left() || y != frame.top()) move(x, y);
    }
    show();
    raise();
    activateWindow();
}

// --- Link ---

// Decided now, carried out once no delivery runs: a close inside a delivery would wait for the
// very thread that is blocked in it.
void TForm2::Button1Click() {
    const bool open = !CommPort1->Open();
    platform::afterDelivery([this, open] { CommPort1->SetOpen(open); });
}

std::string TForm2::brokenLinkText() const {
    const std::string detail = LinkBrokenDetail ? LinkBrokenDetail() : std::string();
    return detail.empty() ? linkBroken() : linkBroken() + "\n" + detail;
}

void TForm2::FlushInput() {
    CommPort1->FlushInBuffer();
    flushedSinceDelivery_ = true;
}

bool TForm2::SendBlock(const std::uint8_t* data, std::uint32_t len) {
    AwaitingReply = true;
    if (CommPort1->IsEnabled()) {
        CommPort1->PutBlock(reinterpret_cast<const char*>(data), len);
        return true;
    }
    AwaitingReply = false;
    platform::messages().show(brokenLinkText(), platform::translated("TForm2", kPortErrorCaption),
                              platform::MessageIcon::Error, platform::MessageButtons::Ok);
    return false;
}

void TForm2::Button2Click() {
    try {
        QLineEdit* const configured[] = {Edit1, Edit2, Edit3, Edit4, Edit5};
        for (int i = 0; i < 5; ++i)
            if (!configured[i]->text().isEmpty())
                CommPort1->SetTimeOut(static_cast<TComTimeOuts>(i),
                                      static_cast<std::uint32_t>(StrToInt(configured[i]->text())));
        // The configured set takes effect at an open, so reopen (this opens a closed port too).
        CommPort1->SetOpen(false);
        CommPort1->SetOpen(true);
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TForm2::DeferClose(bool keepStatusText) {
    const unsigned which = openCount_;
    QTimer::singleShot(0, this, [this, which, keepStatusText] {
        if (which != openCount_ || !CommPort1->Open()) return;
        keepStatusOnClose_ = keepStatusText;
        CommPort1->SetOpen(false);
        keepStatusOnClose_ = false;
    });
}

// --- Component handlers ---

void TForm2::CommPort1Open(TCommPort*, int Error) {
    ++openCount_;
    if (Error == 0) {
        Label1->setText(QCoreApplication::translate("TForm2", "Подключено на скорости ") +
                        QString::number(CommPort1->GetBaud()));
        FlushInput();
        CommPort1->FlushOutBuffer();
        Button1->setText(disconnectCaption());
        ComboBox2->setEnabled(false);
        QLineEdit* const configured[] = {Edit1, Edit2, Edit3, Edit4, Edit5};
        QLineEdit* const saved[] = {Edit6, Edit7, Edit8, Edit9, Edit10};
        for (int i = 0; i < 5; ++i) {
            configured[i]->setText(
                QString::number(CommPort1->GetTimeOuts(static_cast<TComTimeOuts>(i), 1)));
            saved[i]->setText(
                QString::number(CommPort1->GetTimeOuts(static_cast<TComTimeOuts>(i), 0)));
        }
    } else {
        Label1->setText(QCoreApplication::translate("TForm2", "Ошибка подключения ") +
                        QString::number(Error));
        Button1->setText(connectCaption());
        ComboBox2->setEnabled(true);
        DeferClose(true);
    }
    if (OnLinkStateChanged) OnLinkStateChanged(this);
}

void TForm2::CommPort1Close(TCommPort*) {
    if (!keepStatusOnClose_) Label1->setText(QCoreApplication::translate("TForm2", "Отключено"));
    Button1->setText(connectCaption());
    ComboBox2->setEnabled(true);
    if (AwaitingReply) {
        AwaitingReply = false;
        platform::messages().show(brokenLinkText(),
                                  platform::translated("TForm2", kPortErrorCaption),
                                  platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
    if (OnLinkStateChanged) OnLinkStateChanged(this);
}

void TForm2::CommPort1DataReceived(TCommPort*, std::uint32_t Count) {
    // Bytes that were announced and then discarded by our own flush: no reception at all.
    const bool ownFlush = std::exchange(flushedSinceDelivery_, false);
    if (Count == 0 && ownFlush) return;
    const bool awaited = AwaitingReply;
    AwaitingReply = false;
    if (Count > 0) {
        // Each chunk overwrites the previous one from the first byte; nothing is appended.
        ReceivedCount = CommPort1->GetBlock(reinterpret_cast<char*>(ReceiveBuffer), Count);
        if (OnReplyReceived) OnReplyReceived(this);
    } else if (awaited) {
        // The box and then this window, in that order, once the delivery has returned.
        platform::afterDelivery([this, port = CommPort1->ComNumber()] {
            platform::messages().show(
                platform::translated("TForm2", "Не отвечает COM") + std::to_string(port), "",
                platform::MessageIcon::None, platform::MessageButtons::Ok);
            // So that the operator can pick another port.
            BringToFront();
        });
    }
}

void TForm2::CommPort1TxDSignal(TCommPort*) {
    CommPort1->RequestRead();
}

void TForm2::CommPort1DeviceLost(TCommPort*) {
    DeferClose(false);
}
