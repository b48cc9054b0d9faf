// Config_Vigil: the main window, then the port settings window, then the About box, and the
// message loop until the main window closes.
#include <QIcon>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/LanguageSetting.h"
#include "app/StartupCheck.h"
#include "app/TApplication.h"
#include "app/Unit1.h"
#include "platform/MessageService.h"
#include "platform/qt/ChmHelpViewer.h"
#include "platform/qt/QtCatalogue.h"
#include "platform/qt/QtMainThread.h"
#include "platform/qt/QtMessageService.h"
#include "serial/Unit2.h"
#include "ui/AboutBox.h"

int main(int argc, char** argv) {
    TApplication application(argc, argv);
    platform::setProgramPath(argv[0]);
    bool unknownLanguage = false;
    const auto languageChosen = app::languageOption(argc, argv, unknownLanguage);
    if (unknownLanguage) {
        std::fprintf(stderr, "Config_Vigil: --lang takes ru or en\n");
        return 2;
    }
    const session::Language language = app::windowsLanguage(languageChosen);
    // Without the English catalogue the windows keep their Russian: said where it was looked for.
    if (!platform::loadCatalogues(language, application) && language == session::Language::English)
        std::fprintf(stderr,
                     "Config_Vigil: Config_Vigil_en.qm cannot be loaded from %s; the windows stay "
                     "in Russian\n",
                     platform::catalogueFolder().isEmpty()
                         ? "../share/vigil/translations beside the program (no such folder)"
                         : platform::catalogueFolder().toLocal8Bit().constData());
    // The desktop entry of the package: its icon for the windows, and the link a desktop shell
    // makes between the running program and its menu entry.
    TApplication::setDesktopFileName(QStringLiteral("example.orvana.ConfigVigil"));
    TApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("example.orvana.ConfigVigil")));
    platform::installQtMainThreadHook();
    platform::QtMessageService messageBoxes;
    try {
        platform::ChmHelpViewer helpViewer;
        auto form1 = std::make_unique<TForm1>();
        auto form2 = std::make_unique<TForm2>();
        auto aboutBox = std::make_unique<ui::TAboutBox>(form1.get());
        form1->setPortWindow(form2.get());
        form1->setAboutBox(aboutBox.get());
        form1->setHelpService(&helpViewer);
        app::armStartupCheck(*form1);
        form1->show();
        TApplication::exec();
        // The About box belongs to the main window; the port window goes last, closing the port.
        aboutBox.reset();
        form1.reset();
        form2.reset();
    } catch (const std::exception& e) {
        TApplication::ShowException(e.what());
    } catch (...) {
        TApplication::ShowException("");
    }
    return 0;
}
