#pragma once
// Lets the Qt event loop run the main-thread hand-over: each queued call writes an eventfd that a
// socket notifier of the application object watches, and the notifier drains the queue. Call on
// the GUI thread once the QApplication exists (again for a later application object); it also
// makes that thread the hand-over's main thread.
namespace platform {

void installQtMainThreadHook();

}  // namespace platform
