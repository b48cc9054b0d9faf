#include "ui/D6onhelpfix.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/RecordingHelpService.h"
#include "ui/qt/QtTestApp.h"

namespace {

using platform::HelpRequest;

// A page control with two pages carrying contexts, a field inside a group box on each.
struct Pages {
    Pages() {
        for (int context : {2002, 2006}) {
            auto* page = new QWidget;
            ui::setHelpContext(page, context);
            auto* group = new QWidget(page);
            (new QVBoxLayout(page))->addWidget(group);
            auto* edit = new QLineEdit(group);
            (new QVBoxLayout(group))->addWidget(edit);
            fields.push_back(edit);
            tabs.addTab(page, QString::number(context));
        }
        tabs.show();
    }
    QApplication& app = qtTestApp();
    QTabWidget tabs;
    std::vector<QLineEdit*> fields;
};

struct Recorded {
    std::uint16_t command;
    std::int32_t data;
};

TEST(F1Routing, FieldInsideAPageAsksForThePagesTopic) {
    Pages pages;
    platform::RecordingHelpService help;
    std::vector<Recorded> events;
    ui::THTMLHelpViewer viewer([&](std::uint16_t command, std::int32_t data, bool& callHelp) {
        events.push_back({command, data});
        return ui::openHelpContext(help, "/opt/vigil/Vigil.chm", command, data, callHelp);
    });

    pressKey(pages.fields[0], Qt::Key_F1);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].command, ui::HELP_SETPOPUP_POS);
    EXPECT_EQ(events[1].command, ui::HELP_CONTEXT);
    EXPECT_EQ(help.requests,
              (std::vector<HelpRequest>{{HelpRequest::Kind::Topic, "/opt/vigil/Vigil.chm", 2002}}));

    pages.tabs.setCurrentIndex(1);
    pressKey(pages.fields[1], Qt::Key_F1);
    ASSERT_EQ(help.requests.size(), 2u);
    EXPECT_EQ(help.requests[1].context, 2006);
    // F1 typed nothing into the field.
    EXPECT_TRUE(pages.fields[1]->text().isEmpty());
}

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
