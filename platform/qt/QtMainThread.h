#pragma once
// Lets the Qt event loop run the main-thread hand-over: each queued call posts a drain of the
// queue to the application object. Call once at start-up, on the GUI thread, after the
// QApplication exists; it also makes that thread the hand-over's main thread.
namespace platform {

void installQtMainThreadHook();

}  // namespace platform
