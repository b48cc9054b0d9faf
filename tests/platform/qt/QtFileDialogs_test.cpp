// The program's file dialog as the operator meets it: it opens in the folder of the last file
// chosen (the current directory) and, with Qt's translations loaded, speaks Russian.
#include "platform/qt/QtFileDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "platform/qt/QtCatalogue.h"

namespace {

TEST(QtFileDialogs, OpenInTheCurrentFolderWithQtsTextsInRussian) {
    int argc = 1;
    char name[] = "Config_Vigil";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    if (!platform::loadQtCatalogue(session::Language::Russian, app))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    namespace fs = std::filesystem;
    const fs::path start = fs::current_path();
    char dir[] = "/tmp/vigil-dialog-XXXXXX";
    const fs::path folder = ::mkdtemp(dir);
    fs::current_path(folder);

    QString shownFolder, cancelText;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        watch.stop();
        shownFolder = dialog->directory().absolutePath();
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
            if (QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel))
                cancelText = cancel->text();
        dialog->reject();
    });
    watch.start(5);
    platform::QtFileDialogs dialogs(nullptr);
    EXPECT_FALSE(dialogs.open("Файл(*.abt)|*.abt").has_value());
    EXPECT_EQ(shownFolder.toStdString(), fs::canonical(folder).string());
    EXPECT_EQ(cancelText, QString::fromUtf8("Отмена"));
    fs::current_path(start);
    fs::remove_all(folder);
}

}  // namespace
