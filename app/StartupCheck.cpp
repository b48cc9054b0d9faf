#include "app/StartupCheck.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Unit1.h"

namespace app {

void armStartupCheck(const TForm1& mainWindow) {
    const char* wanted = std::getenv("VIGIL_STARTUP_CHECK");
    if (!wanted || std::string(wanted) != "1") return;
    // Runs once the event loop turns: in the program's own loop, or inside the "Help file not
    // found" box when the help file is missing, which would otherwise wait for the operator.
    QTimer::singleShot(0, [&mainWindow] {
        std::error_code error;
        const bool helpFound = std::filesystem::exists(mainWindow.HelpFilePath, error);
        const bool shown = mainWindow.isVisible();
        std::printf("main window %s; help file %s %s\n", shown ? "shown" : "not shown",
                    mainWindow.HelpFilePath.c_str(), helpFound ? "found" : "missing");
        std::fflush(stdout);
        std::_Exit(shown && helpFound ? 0 : 1);
    });
}

}  // namespace app
