#include "ui/D6onhelpfix.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/qt/QtTestApp.h"

namespace {

// The window's tests cover F1 on fields inside the pages.
TEST(F1Routing, NothingHappensWhereNoWidgetCarriesHelp) {
    qtTestApp();
    QLineEdit lonely;
    lonely.show();
    int raised = 0;
    ui::THTMLHelpViewer viewer([&](std::uint16_t, std::int32_t, bool&) { return ++raised, true; });
    pressKey(&lonely, Qt::Key_F1);
    pressKey(&lonely, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(ui::widgetWithHelp(&lonely), nullptr);
}

TEST(F1Routing, KeywordHelpCarriesItsTextBesideTheEvent) {
    qtTestApp();
    QWidget holder;
    holder.setProperty(ui::kHelpKeywordProperty, QString(300, QLatin1Char('k')));
    std::vector<std::pair<std::uint16_t, std::string>> seen;
    ui::THTMLHelpViewer* self = nullptr;
    ui::THTMLHelpViewer viewer([&](std::uint16_t command, std::int32_t, bool&) {
        seen.emplace_back(command, self->keyword());
        return true;
    });
    self = &viewer;
    EXPECT_TRUE(viewer.showContextHelp(new QLineEdit(&holder)));
    viewer.showTopic("Монитор");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], std::make_pair(ui::HELP_KEY, std::string(255, 'k')));
    EXPECT_EQ(seen[2], std::make_pair(ui::HELP_KEY, std::string("Мониторzzz")));
}

}  // namespace
