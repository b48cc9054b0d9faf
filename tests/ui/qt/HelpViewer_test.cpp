// The compiled help file and the help window that shows it.
#include <gtest/gtest.h>

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest/QTest>
#include <filesystem>
#include <fstream>

#include "platform/qt/ChmHelpViewer.h"
#include "platform/qt/ChmHelpWindow.h"
#include "support/AccessibleWalk.h"
#include "ui/qt/QtTestApp.h"

namespace {

const std::string kHelpFile = VIGIL_HELP_FILE;

TEST(HelpFile, EveryPageContextOpensItsTopic) {
    qtTestApp();
    platform::ChmHelpViewer viewer;
    for (const auto& [context, caption] : {std::pair<int, QString>{2000, "Интернет"},
                                           {2001, "Доступ"},
                                           {2002, "Телефоны"},
                                           {2003, "GPS"},
                                           {2004, "Настройки"},
                                           {2005, "Обновить"},
                                           {2006, "Монитор"}}) {
        viewer.showTopic(kHelpFile, context);
        platform::ChmHelpWindow* window = viewer.window(kHelpFile);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->shownTitle(), caption) << context;
    }
    EXPECT_EQ(viewer.window(kHelpFile)->windowTitle(), "Config_Vigil");
}

// F1's topic is selected in the contents; links between pages stay in the window, in every form a
// help compiler writes them, and a link to a page the file lacks leaves the page shown.
TEST(HelpWindow, LinksAndTheContentsFollowThePageShown) {
    qtTestApp();
    platform::ChmHelpViewer viewer;
    viewer.showTopic(kHelpFile, 2002);
    platform::ChmHelpWindow* window = viewer.window(kHelpFile);
    ASSERT_NE(window, nullptr);
    auto* contents = window->findChild<QTreeWidget*>("HelpContents");
    ASSERT_NE(contents->currentItem(), nullptr);
    EXPECT_EQ(contents->currentItem()->text(0), "Телефоны");
    EXPECT_EQ(window->findChild<QTextBrowser*>("HelpBrowser")->accessibleName(), "Телефоны");

    window->followLink(QUrl("index.htm"));
    EXPECT_EQ(window->shownPage(), "/index.htm");
    EXPECT_EQ(contents->currentItem()->text(0), "Config_Vigil");
    window->followLink(QUrl("ms-its:Vigil.chm::/gps.htm"));
    EXPECT_EQ(window->shownPage(), "/gps.htm");
    window->followLink(QUrl("mk:@MSITStore:C:\\help\\Vigil.chm::/monitor.htm#top"));
    EXPECT_EQ(window->shownPage(), "/monitor.htm");
    window->followLink(QUrl("missing.htm"));
    EXPECT_EQ(window->shownPage(), "/monitor.htm");
    EXPECT_EQ(contents->currentItem()->text(0), "Монитор");

    // By keys: Tab to the page's first link ("Интернет" on the contents page), Enter follows it.
    window->showPage("/index.htm");
    auto* browser = window->findChild<QTextBrowser*>("HelpBrowser");
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(window->shownPage(), "/internet.htm");

    EXPECT_EQ(testsupport::unnamedControls(*window).join('\n').toStdString(), "");
}

// Every link of every page in the contents leads to a page the file holds.
TEST(HelpFile, NoLinkLeadsNowhere) {
    qtTestApp();
    auto file = platform::ChmFile::open(kHelpFile);
    ASSERT_TRUE(file);
    platform::ChmHelpWindow window(std::move(file));
    auto* contents = window.findChild<QTreeWidget*>("HelpContents");
    const QRegularExpression link(QStringLiteral("<a [^>]*href=\"([^\"#]+)"));
    int links = 0;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) {
        const std::string page = (*it)->data(0, Qt::UserRole).toString().toStdString();
        ASSERT_FALSE(page.empty()) << (*it)->text(0).toStdString();
        const auto html = window.file().read(page);
        ASSERT_TRUE(html);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(html->data()),
                                               static_cast<qsizetype>(html->size()));
        for (auto m = link.globalMatch(text); m.hasNext(); ++links) {
            const QString target = m.next().captured(1);
            if (target.startsWith(QLatin1String("http")) ||
                target.startsWith(QLatin1String("mailto:")))
                continue;
            EXPECT_NE(window.file().locate(target.toStdString()), "")
                << page << " links to " << target.toStdString();
        }
    }
    EXPECT_GE(links, 14);
}

TEST(HelpFile, PagesAndContentsComeFromTheFile) {
    qtTestApp();
    auto file = platform::ChmFile::open(kHelpFile);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->defaultTopic(), "/index.htm");
    EXPECT_EQ(file->topicForContext(2002), "/phones.htm");
    EXPECT_EQ(file->topicForContext(1999), "");
    EXPECT_TRUE(file->read("/style.css").has_value());
    // The compiler stores the mapped topics with the folder it ran in.
    EXPECT_EQ(file->locate("/some/build/folder/monitor.htm"), "/monitor.htm");
    EXPECT_EQ(file->locate("C:\\help\\gps.htm"), "/gps.htm");
    EXPECT_EQ(file->locate("/missing.htm"), "");

    platform::ChmHelpWindow window(std::move(file));
    auto* contents = window.findChild<QTreeWidget*>("HelpContents");
    ASSERT_NE(contents, nullptr);
    ASSERT_EQ(contents->topLevelItemCount(), 1);
    EXPECT_EQ(contents->topLevelItem(0)->childCount(), 7);
    EXPECT_EQ(contents->topLevelItem(0)->child(6)->text(0), "Монитор");
}

TEST(HelpViewer, ContentsLooksInTheCurrentDirectory) {
    qtTestApp();
    const QString saved = QDir::currentPath();
    QTemporaryDir elsewhere;
    QTemporaryDir withHelp;
    std::filesystem::copy_file(kHelpFile, withHelp.filePath("Vigil.chm").toStdString());
    platform::ChmHelpViewer viewer;

    QDir::setCurrent(elsewhere.path());
    viewer.showContents("Vigil.chm");
    EXPECT_EQ(viewer.window(elsewhere.filePath("Vigil.chm").toStdString()), nullptr);

    QDir::setCurrent(withHelp.path());
    viewer.showContents("Vigil.chm");
    platform::ChmHelpWindow* window = viewer.window(withHelp.filePath("Vigil.chm").toStdString());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->shownPage(), "/index.htm");
    EXPECT_TRUE(window->isVisible());

    viewer.closeAll();
    EXPECT_EQ(viewer.window(withHelp.filePath("Vigil.chm").toStdString()), nullptr);
    QDir::setCurrent(saved);
}

TEST(HelpViewer, FailuresAreSilent) {
    qtTestApp();
    platform::ChmHelpViewer viewer;
    viewer.showTopic("/nowhere/Vigil.chm", 2000);
    EXPECT_EQ(viewer.window("/nowhere/Vigil.chm"), nullptr);
    QTemporaryDir dir;
    const std::string damaged = dir.filePath("Vigil.chm").toStdString();
    std::ofstream(damaged) << "ITSF but not really a help file";
    viewer.showTopic(damaged, 2000);
    EXPECT_EQ(viewer.window(damaged), nullptr);
    viewer.showTopic(kHelpFile, 1999);  // not in the map: no page, no window shown
    ASSERT_NE(viewer.window(kHelpFile), nullptr);
    EXPECT_FALSE(viewer.window(kHelpFile)->isVisible());
}

}  // namespace
