#include "ui/MonitorView.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "ui/qt/QtTestApp.h"

namespace {

struct Memo {
    QApplication& app = qtTestApp();
    QPlainTextEdit memo{QStringLiteral("Memo1")};
    ui::MonitorView view{&memo};

    void receive(std::string_view text) {
        view.dump(std::vector<std::uint8_t>(text.begin(), text.end()));
    }
    QString line(int i) const { return memo.document()->findBlockByNumber(i).text(); }
};

TEST(MonitorView, ShowsEachReceptionInTealAndKeepsTheNewest500Lines) {
    Memo m;
    m.receive("OK\r\n");
    m.receive("0123456789ABCDEFG");
    m.receive("");
    m.view.flush();
    ASSERT_EQ(m.memo.blockCount(), 3);
    EXPECT_EQ(m.line(0), "4F 4B 0D 0A " + QString(81, ' ') + "OK. . ");
    EXPECT_EQ(m.line(2), "47 " + QString(99, ' ') + "G");
    EXPECT_EQ(m.memo.palette().color(QPalette::Text), QColor(0, 128, 128));
    // Lines shown one by one or waiting together are cut the same way.
    for (int batch : {1, 600}) {
        Memo n;
        for (int i = 0; i < 501; ++i) {
            n.receive("L" + std::to_string(i));
            if (i % batch == 0) n.view.flush();
        }
        n.view.flush();
        ASSERT_EQ(n.memo.blockCount(), 500) << batch;
        EXPECT_TRUE(n.line(0).endsWith("L1")) << batch;
        EXPECT_TRUE(n.line(499).endsWith("L500")) << batch;
    }
}

TEST(MonitorView, WaitingLinesAppearWithoutAFlushAndTheEndIsInView) {
    Memo m;
    m.memo.resize(300, 120);
    m.memo.show();
    for (int i = 0; i < 200; ++i) m.receive("line " + std::to_string(i));
    EXPECT_TRUE(processEventsUntil([&] { return m.memo.blockCount() == 200; }));
    QScrollBar* bar = m.memo.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST(MonitorView, ClearRemovesShownAndWaitingLines) {
    Memo m;
    m.receive("shown");
    m.view.flush();
    m.receive("waiting");
    m.view.clear();
    m.receive("after");
    m.view.flush();
    EXPECT_EQ(m.memo.blockCount(), 1);
    EXPECT_TRUE(m.line(0).endsWith("after"));
    EXPECT_EQ(m.memo.palette().color(QPalette::Text), QColor(0, 128, 128));
}

}  // namespace
