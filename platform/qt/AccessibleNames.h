#pragma once
// Names for a screen reader: one pass over a window after it is built gives every interactive
// control that has no name of its own the caption a sighted user reads beside it (the label to
// its left or the column head above it, its group's title, its tooltip, its page's caption), makes
// a label that captions exactly one control its buddy, keeps read-only fields in the Tab chain, and
// shows a button's keyboard shortcut in its tooltip. The names follow a language change.
#include <QString>

class QWidget;

namespace platform {

// Names the controls of `window` (and keeps them named across language changes).
void nameControls(QWidget& window);

// Whether a screen reader user operates the widget (a button, field, list, slider, table...);
// the parts Qt builds inside such controls (a combo box's edit, a view's scroll bars) are not
// counted, their control is.
bool isInteractiveControl(const QWidget& widget);

// A caption as a screen reader should say it: no mnemonic '&', one blank between words, no
// trailing colon.
QString spokenCaption(const QString& caption);

}  // namespace platform
