#pragma once
// Ctrl+C (SIGINT) and SIGTERM for the command-line program: the first one only raises a flag that
// the event loop looks at, so a command can wind up cleanly (send "Monitor=Off:", finish a log
// row, close the port); a second one ends the program at once.
//
// installInterruptHandling() blocks both signals in the calling thread before any other thread
// exists (every thread inherits the mask, so no port thread sees EINTR) and leaves them to one
// watcher thread.

namespace cli {

void installInterruptHandling();
bool interruptRequested();

}  // namespace cli
