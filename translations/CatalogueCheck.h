#pragma once
// What keeps a catalogue (.ts) from being complete: an entry without a finished translation, or a
// translation whose placeholders (%1, %2, …) or line breaks differ from its source's, so that a
// value would go missing or a message change shape in the other language.
#include <QString>
#include <QStringList>

namespace translations {

// One line per fault: `context: "source": what is wrong`. Empty for a complete catalogue; a text
// that is not a catalogue gives one line saying so.
QStringList catalogueProblems(const QString& tsText);

}  // namespace translations
