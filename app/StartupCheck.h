#pragma once
// A check that the installed program starts: with VIGIL_STARTUP_CHECK=1 in the environment, the
// program prints whether its main window came up and whether it found its help file, and quits
// (exit status 0 when both hold). Package tests run it offscreen; nothing else changes.
class TForm1;

namespace app {

// Arms the check before the main window is shown; does nothing without the variable.
void armStartupCheck(const TForm1& mainWindow);

}  // namespace app
