// The windows in English: the catalogue built with the program is found from the build tree and
// turns the menus, the pages' Russian labels, the port window and a real message box into English.
#include "RealBoxes.h"
#include "platform/qt/QtCatalogue.h"
#include "ui/UnitJournalWindow.h"

namespace {

using namespace std::chrono_literals;

class English : public apptest::WindowFixture {
  protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(platform::loadCatalogues(session::Language::English, apptest::application()))
            << "no English catalogue in " << platform::catalogueFolder().toStdString();
    }
};

TEST_F(English, MenusPagesAndThePortWindowSpeakEnglish) {
    EXPECT_EQ(form1->Fail1->title(), QStringLiteral("File"));
    EXPECT_EQ(form1->Open1->text(), QStringLiteral("&Open"));
    EXPECT_EQ(form1->PageControl1->tabText(0), QStringLiteral("Internet"));
    EXPECT_EQ(form1->PageControl1->tabText(2), QStringLiteral("Phones"));
    EXPECT_EQ(form1->ReadInternetB->text(), QStringLiteral("Read"));
    EXPECT_EQ(form1->ToolButton1->toolTip(), QStringLiteral("Connect Comm"));
    EXPECT_EQ(form2->Button1->text(), QStringLiteral("Connect"));
    EXPECT_EQ(form2->Label1->text(), QStringLiteral("Not connected"));
    EXPECT_EQ(about->ProductName->text(), QStringLiteral("Config_Vigil program"));
    // Windows of a namespace's class too (their texts are looked up under the plain class name).
    form1->OpenUnitJournal->trigger();
    auto* journal = form1->findChild<ui::UnitJournalWindow*>(QStringLiteral("UnitJournalWindow"));
    ASSERT_NE(journal, nullptr);
    EXPECT_EQ(journal->windowTitle(), QStringLiteral("Terminal journal"));
    EXPECT_EQ(journal->DiffTable->horizontalHeaderItem(1)->text(), QStringLiteral("Before"));
    for (const QTableWidget* table : journal->findChildren<QTableWidget*>())
        for (int c = 0; c < table->columnCount(); ++c)
            EXPECT_GE(table->columnWidth(c), table->horizontalHeader()->sectionSizeHint(c))
                << table->objectName().toStdString() << " " << c;
    auto* languages = form1->Help1->findChild<QMenu*>(QStringLiteral("LanguageMenu"));
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(languages->findChild<QAction*>(QStringLiteral("LanguageEnglish"))->isChecked());
    // Qt's own texts follow: the standard buttons of a box.
    QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancel"));
}

// English runs longer than Russian in places: no caption on a page or in the port window is cut.
TEST_F(English, NoCaptionIsCut) {
    form1->show();
    form2->show();
    std::vector<QWidget*> windows{form2.get()};
    for (int i = 0; i < form1->PageControl1->count(); ++i)
        windows.push_back(form1->PageControl1->widget(i));
    for (QWidget* window : windows) {
        form1->PageControl1->setCurrentWidget(window);
        apptest::pumpFor(20ms);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) ||
                                     qobject_cast<QRadioButton*>(w)))
                continue;
            EXPECT_LE(w->sizeHint().width(), w->width())
                << window->objectName().toStdString() << " " << w->objectName().toStdString();
        }
    }
}

TEST_F(English, ABoxThroughTheProgramsMessageServiceIsInEnglish) {
    platform::QtMessageService boxes;
    realboxes::BoxOperator boxOperator(0ms);
    open("big.abt", std::string(5000, 'A'));
    ASSERT_TRUE(apptest::pumpUntil([&] { return !boxOperator.texts().empty(); }));
    const std::string& text = boxOperator.texts().front();
    EXPECT_NE(text.find("is longer than 4096 bytes and cannot be opened as a configuration file"),
              std::string::npos)
        << text;
    // The core's part of the text and the window's caption come from the same catalogue.
    EXPECT_EQ(platform::translated("TForm1", "Записать"), "Write");
}

}  // namespace
