// Help in the window: the help file looked for beside the program, F1 routed to the topic of the
// page in use, Contents, and closing the window (help windows closed, port settings saved).
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include "WindowFixture.h"
#include "platform/RegistryStore.h"

namespace {

using platform::HelpRequest;

class Help : public apptest::WindowFixture {
protected:
    void showWindow() {
        form1->show();
        form1->activateWindow();
        apptest::pumpUntil([&] { return form1->isVisible(); });
    }

    // F1 with the focus on `w`, on the page that holds it.
    void pressF1At(QWidget* page, QWidget* w) {
        form1->PageControl1->setCurrentWidget(page);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_F1);
    }
};

TEST_F(Help, MissingHelpFileIsReportedWithItsFullPath) {
    showWindow();
    const std::string expected = QCoreApplication::applicationDirPath().toStdString() + "/Vigil.chm";
    EXPECT_EQ(form1->HelpFilePath, expected);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "Help file not found\n" + expected);
    EXPECT_EQ(messages.shown()[0].caption, "");
}

TEST_F(Help, F1OpensTheTopicOfThePageInUse) {
    showWindow();
    pressF1At(form1->TabSheet3, form1->ETl[0]);
    pressF1At(form1->TabSheet4, form1->MemoIn);
    pressF1At(form1->TabSheet2, form1->TrackBar1);
    pressF1At(form1->TabSheet1, form1->EditIp[2]);
    const std::vector<HelpRequest> expected = {{HelpRequest::Kind::Topic, form1->HelpFilePath, 2002},
                                               {HelpRequest::Kind::Topic, form1->HelpFilePath, 2006},
                                               {HelpRequest::Kind::Topic, form1->HelpFilePath, 2004},
                                               {HelpRequest::Kind::Topic, form1->HelpFilePath, 2000}};
    EXPECT_EQ(help.requests, expected);
}

TEST_F(Help, ContentsAndClosing) {
    form1->ContentsClick();
    ASSERT_EQ(help.requests.size(), 1u);
    EXPECT_EQ(help.requests[0], (HelpRequest{HelpRequest::Kind::Contents, "Vigil.chm", 0}));

    form1->close();
    ASSERT_EQ(help.requests.size(), 2u);
    EXPECT_EQ(help.requests[1].kind, HelpRequest::Kind::CloseAll);
    platform::Registry registry;
    ASSERT_TRUE(registry.openKey("Quorveth\\ComPort", false));
    EXPECT_EQ(registry.readInteger("ComNum"), form2->CommPort1->ComNumber());
}

}  // namespace
