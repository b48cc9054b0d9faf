#include "ui/MonitorView.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "ui/qt/QtTestApp.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Memo {
    QApplication& app = qtTestApp();
    QPlainTextEdit memo{QStringLiteral("Memo1")};
    ui::MonitorView view{&memo};

    void receive(std::string_view text) {
        const Bytes bytes(text.begin(), text.end());
        view.dump(bytes);
    }
    QString line(int i) const { return memo.document()->findBlockByNumber(i).text(); }
};

TEST(MonitorView, StartsEmptyAndShowsEachReceptionInTeal) {
    Memo m;
    EXPECT_TRUE(m.memo.toPlainText().isEmpty());
    m.receive("OK\r\n");
    m.receive("0123456789ABCDEFG");
    m.receive("");
    m.view.flush();
    ASSERT_EQ(m.memo.blockCount(), 3);
    EXPECT_EQ(m.line(0), "4F 4B 0D 0A " + QString(81, ' ') + "OK. . ");
    EXPECT_TRUE(m.line(1).endsWith(" 0123456789ABCDEF"));
    EXPECT_EQ(m.line(2), "47 " + QString(99, ' ') + "G");
    EXPECT_EQ(m.memo.palette().color(QPalette::Text), QColor(0, 128, 128));
}

TEST(MonitorView, KeepsTheNewest500Lines) {
    for (int batch : {1, 7, 600}) {
        Memo m;
        for (int i = 0; i < 501; ++i) {
            m.receive("L" + std::to_string(i));
            if (i % batch == 0) m.view.flush();
        }
        m.view.flush();
        ASSERT_EQ(m.memo.blockCount(), 500) << batch;
        EXPECT_TRUE(m.line(0).endsWith("L1")) << batch;
        EXPECT_TRUE(m.line(499).endsWith("L500")) << batch;
    }
}

TEST(MonitorView, WaitingLinesAppearWithoutAFlushAndTheEndIsInView) {
    Memo m;
    m.memo.resize(300, 120);
    m.memo.show();
    for (int i = 0; i < 200; ++i) m.receive("line " + std::to_string(i));
    EXPECT_TRUE(processEventsUntil([&] { return m.memo.blockCount() == 200; }, 5000));
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
    m.view.flush();
    EXPECT_TRUE(m.memo.toPlainText().isEmpty());
    EXPECT_EQ(m.memo.palette().color(QPalette::Text), QColor(0, 128, 128));
    m.receive("after");
    m.view.flush();
    EXPECT_EQ(m.memo.blockCount(), 1);
    EXPECT_TRUE(m.line(0).endsWith("after"));
}

}  // namespace
