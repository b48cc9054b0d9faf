#pragma once
// F1 routing of the application. Pressing F1 looks for help at the focused widget and then at the
// widgets enclosing it, up to the first one that carries a help context (a dynamic property set
// only on the main window's seven pages) or a help keyword, and raises the application's help
// event with HELP_CONTEXT (or HELP_KEY) for it. Where nothing carries help, F1 does nothing.
//
// There is no old-style help on this platform that a request could fall back to, so no tester
// guarding against one is needed; the viewer and the selector keep their roles.
#include <QObject>
#include <QString>
#include <QStringList>
#include <string>

#include "ui/HelpCommands.h"

class QWidget;

namespace ui {

inline constexpr const char* kHelpContextProperty = "helpContext";
inline constexpr const char* kHelpKeywordProperty = "helpKeyword";

void setHelpContext(QWidget* widget, int context);
// The widget itself or its nearest enclosing widget that carries help; null when none does.
QWidget* widgetWithHelp(QWidget* start);

// Picks among several help viewers or matching keywords.
class THelpSelector {
  public:
    // The viewer named "D6OnHelpFix" when it is among them, otherwise the first; -1 for none.
    static int selectContents(const QStringList& viewerNames);
    static int selectKeyword(const QStringList& keywords);
};

// The application-wide F1 handler, active from construction to destruction.
class THTMLHelpViewer : public QObject {
    Q_OBJECT
  public:
    static constexpr const char* kViewerName = "D6OnHelpFix";
    static constexpr int kMaxKeywordLength = 255;

    explicit THTMLHelpViewer(HelpEventHandler applicationHelp, QObject* parent = nullptr);
    ~THTMLHelpViewer() override;

    QString viewerName() const { return QString::fromLatin1(kViewerName); }

    // F1 at this widget: HELP_SETPOPUP_POS with the screen position of the widget that carries
    // help, then HELP_CONTEXT with its context (or HELP_KEY with its keyword). False when no
    // enclosing widget carries help.
    bool showContextHelp(QWidget* focused);
    void showKeyword(const QString& keyword);
    void showTopic(const QString& topic);
    void showTableOfContents();

    // The text a HELP_KEY request refers to, while its help event runs (the event's data cannot
    // carry text).
    const std::string& keyword() const { return keyword_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool raise(std::uint16_t command, std::int32_t data);
    void raiseKey(const QString& text);

    HelpEventHandler applicationHelp_;
    std::string keyword_;
};

}  // namespace ui
