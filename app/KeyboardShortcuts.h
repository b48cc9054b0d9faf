#pragma once
// The main window's keys for the work done most: read and write the page shown, connect and
// disconnect. None is one a desktop or a text field already uses (Ctrl+W closes windows,
// Ctrl+Q quits, Ctrl+O and Ctrl+S open and save, Ctrl+E and Ctrl+K move and cut in a field).
#include <QKeySequence>

class TForm1;

namespace app {

inline const QKeySequence kReadPageKey{QStringLiteral("Ctrl+R")};
inline const QKeySequence kWritePageKey{QStringLiteral("Ctrl+T")};
inline const QKeySequence kConnectKey{QStringLiteral("Ctrl+L")};
inline const QKeySequence kDisconnectKey{QStringLiteral("Ctrl+Shift+L")};

// Gives every page's Read and Write button and the link's tool buttons their key. A button's key
// works only while it is shown and enabled, so one key serves the page shown.
void bindKeyboardShortcuts(TForm1& window);

}  // namespace app
