#pragma once
// Qt's own texts (file dialogs, message box buttons, context menus) in the operator's language,
// Russian, from the translations the system installs with Qt (Debian: qt6-translations-l10n). The
// program's own texts are not translated; they are Russian already.
class QCoreApplication;

namespace platform {

// Loads Qt's Russian translation into the application; false when it is not installed (Qt's texts
// then stay English).
bool installQtTranslations(QCoreApplication& application);

}  // namespace platform
