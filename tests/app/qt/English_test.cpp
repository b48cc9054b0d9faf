// The windows in English: the catalogue built with the program is found from the build tree and
// turns the menus, the pages' Russian labels, the port window and a real message box into English.
#include "RealBoxes.h"
#include "app/UnitJournalWindow.h"
#include "platform/qt/QtCatalogue.h"

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
    auto* journal = form1->findChild<app::UnitJournalWindow*>(QStringLiteral("UnitJournalWindow"));
    ASSERT_NE(journal, nullptr);
    EXPECT_EQ(journal->windowTitle(), QStringLiteral("Terminal journal"));
    EXPECT_EQ(journal->DiffTable->horizontalHeaderItem(1)->text(), QStringLiteral("Before"));
    auto* languages = form1->Help1->findChild<QMenu*>(QStringLiteral("LanguageMenu"));
    ASSERT_NE(languages, nullptr);
    EXPECT_TRUE(languages->findChild<QAction*>(QStringLiteral("LanguageEnglish"))->isChecked());
    // Qt's own texts follow: the standard buttons of a box.
    QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(u'&'), QStringLiteral("Cancel"));
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
