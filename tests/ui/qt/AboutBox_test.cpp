#include "ui/AboutBox.h"

#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>

#include "ui/qt/QtTestApp.h"

namespace {

struct Box {
    QApplication& app = qtTestApp();
    ui::TAboutBox box;

    template <typename W = QLabel>
    W* find(const char* name) const {
        auto* w = box.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

TEST(AboutBox, ContentAndPictureOf240By180InSixteenColours) {
    Box b;
    EXPECT_EQ(b.box.windowTitle(), "About Vigil");
    EXPECT_EQ(b.box.size(), QSize(324, 387));
    EXPECT_EQ(b.box.minimumSize(), b.box.maximumSize());
    EXPECT_EQ(b.find("ProductName")->text(), "Программа Config_Vigil");
    EXPECT_EQ(b.find("Version")->text(), "Версия 20.07.15");
    EXPECT_EQ(b.find("Label2")->text(), QString(44, '_'));
    EXPECT_EQ(b.find("Label1")->text(), QString(44, '_'));
    EXPECT_FALSE(b.find("Label3")->text().isEmpty());
    EXPECT_TRUE(b.find("Comments")->wordWrap());
    EXPECT_EQ(b.find("Comments")->text(),
              "Предназначена для конфигурирования  тревожных кнопок Vigil,  работающих в РСПИ "
              "\" ORVANA-5\", а также для обновления их программного обеспечения.");
    for (const char* name :
         {"ProgramIcon", "ProductName", "Version", "Label2", "Comments", "Label1", "Label3"})
        EXPECT_EQ(b.find(name)->parentWidget(), b.find<QFrame>("Panel1")) << name;
    EXPECT_EQ(b.find<QPushButton>("OKButton")->text(), "OK");

    const QImage picture = b.find("ProgramIcon")->pixmap().toImage();
    ASSERT_EQ(picture.size(), QSize(240, 180));
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    EXPECT_GT(colours.size(), 2);
}

TEST(AboutBox, OkAndEnterClose) {
    Box b;
    QTimer::singleShot(0, b.find<QPushButton>("OKButton"), &QPushButton::click);
    ui::About1Click(b.box);
    EXPECT_EQ(b.box.result(), QDialog::Accepted);
    EXPECT_FALSE(b.box.isVisible());
    b.box.show();
    pressKey(&b.box, Qt::Key_Return);  // OK is the default button
    EXPECT_FALSE(b.box.isVisible());
    EXPECT_EQ(b.box.result(), QDialog::Accepted);
}

}  // namespace
