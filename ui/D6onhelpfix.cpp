#include "ui/D6onhelpfix.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

void setHelpContext(QWidget* widget, int context) {
    widget->setProperty(kHelpContextProperty, context);
}

QWidget* widgetWithHelp(QWidget* start) {
    for (QWidget* w = start; w != nullptr; w = w->parentWidget()) {
        if (w->property(kHelpContextProperty).toInt() != 0) return w;
        if (!w->property(kHelpKeywordProperty).toString().isEmpty()) return w;
    }
    return nullptr;
}

int THelpSelector::selectContents(const QStringList& viewerNames) {
    const int ours =
        static_cast<int>(viewerNames.indexOf(QString::fromLatin1(THTMLHelpViewer::kViewerName)));
    if (ours >= 0) return ours;
    return viewerNames.isEmpty() ? -1 : 0;
}

int THelpSelector::selectKeyword(const QStringList& keywords) {
    return keywords.isEmpty() ? -1 : 0;
}

THTMLHelpViewer::THTMLHelpViewer(HelpEventHandler applicationHelp, QObject* parent)
    : QObject(parent), applicationHelp_(std::move(applicationHelp)) {
    qApp->installEventFilter(this);
}

THTMLHelpViewer::~THTMLHelpViewer() {
    qApp->removeEventFilter(this);
}

bool THTMLHelpViewer::raise(std::uint16_t command, std::int32_t data) {
    bool callHelp = true;
    return applicationHelp_ ? applicationHelp_(command, data, callHelp) : false;
}

void THTMLHelpViewer::raiseKey(const QString& text) {
    keyword_ = text.left(kMaxKeywordLength).toStdString();
    raise(HELP_KEY, 0);
    keyword_.clear();
}

bool THTMLHelpViewer::showContextHelp(QWidget* focused) {
    QWidget* withHelp = widgetWithHelp(focused);
    if (withHelp == nullptr) return false;
    // The position travels as one number: x in the low half, y in the high half.
    const QPoint corner = withHelp->mapToGlobal(QPoint(0, 0));
    const auto position =
        static_cast<std::int32_t>((static_cast<std::uint32_t>(corner.x()) & 0xFFFFu) |
                                  (static_cast<std::uint32_t>(corner.y()) << 16));
    raise(HELP_SETPOPUP_POS, position);
    const int context = withHelp->property(kHelpContextProperty).toInt();
    if (context != 0)
        raise(HELP_CONTEXT, context);
    else
        showKeyword(withHelp->property(kHelpKeywordProperty).toString());
    return true;
}

void THTMLHelpViewer::showKeyword(const QString& keyword) {
    raiseKey(keyword);
}

void THTMLHelpViewer::showTopic(const QString& topic) {
    raiseKey(topic + QStringLiteral("zzz"));
}

void THTMLHelpViewer::showTableOfContents() {
    raise(HELP_CONTENTS, 0);
}

bool THTMLHelpViewer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr) focused = qobject_cast<QWidget*>(watched);
    // A held key asks once; its repeats are swallowed with it.
    if (key->isAutoRepeat()) return widgetWithHelp(focused) != nullptr;
    return showContextHelp(focused);
}

}  // namespace ui
