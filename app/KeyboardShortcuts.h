#pragma once
// The main window's keys for the work done most: Ctrl+R and Ctrl+T read and write the page shown,
// Ctrl+L and Ctrl+Shift+L connect and disconnect, F10 opens the menu. None is one a desktop or a
// text field already uses (Ctrl+W closes windows, Ctrl+Q quits, Ctrl+O and Ctrl+S open and save,
// Ctrl+E and Ctrl+K move and cut in a field).

class TForm1;

namespace app {

// Gives every page's Read and Write button and the link's tool buttons their key, and the window
// its menu key. A button's key
// works only while it is shown and enabled, so one key serves the page shown.
void bindKeyboardShortcuts(TForm1& window);

}  // namespace app
