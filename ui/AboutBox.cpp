#include "ui/AboutBox.h"

#include <qdrawutil.h>

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/AccessibleNames.h"

// Resources of a static library must be registered by name, from the global namespace.
static void registerAboutBoxResources() {
    Q_INIT_RESOURCE(AboutBox);
}

namespace ui {
namespace {

// A panel whose outer edge is sunk and whose inner edge is raised: a groove-like frame.
class BevelPanel : public QFrame {
  public:
    using QFrame::QFrame;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect outer = rect();
        qDrawShadeRect(&painter, outer, palette(), true, 1);
        qDrawShadeRect(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(x, y);
    l->adjustSize();
    return l;
}

const QString kSeparator(44, QLatin1Char('_'));

}  // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    registerAboutBoxResources();
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QCoreApplication::translate("TAboutBox", "About Vigil"));
    setFixedSize(kClientWidth, kClientHeight);
    // The layout is in pixels for a small dialog font; keep the text within it.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(16, 16, 297, 337);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(24, 8, 241, 177);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/ui/ProgramIcon.xpm")));

    ProductName = label(Panel1, "ProductName",
                        QCoreApplication::translate("TAboutBox", "Программа Config_Vigil"), 8, 192);
    Version = label(Panel1, "Version", QCoreApplication::translate("TAboutBox", "Версия 20.07.15"),
                    8, 208);
    Label2 = label(Panel1, "Label2", kSeparator, 8, 224);

    Comments = new QLabel(Panel1);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setGeometry(8, 240, 247, 65);
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setText(
        QCoreApplication::translate("TAboutBox",
                                    "Предназначена для конфигурирования  тревожных кнопок Vigil,  "
                                    "работающих в РСПИ \" ORVANA-5\", а также для обновления их "
                                    "программного обеспечения."));

    Label1 = label(Panel1, "Label1", kSeparator, 8, 304);
    Label3 = label(Panel1, "Label3", QStringLiteral("www.orvana.example"), 8, 320);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(135, 356, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
    platform::nameControls(*this);
}

void TAboutBox::OKButtonClick() {
    accept();
}

void TAboutBox::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void About1Click(TAboutBox& box) {
    box.exec();
}

}  // namespace ui
