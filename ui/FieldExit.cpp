#include "ui/FieldExit.h"

#include <QFocusEvent>
#include <QWidget>

namespace ui {

void FieldExit::watch(QWidget* field, std::function<void()> onExit) {
    new FieldExit(field, std::move(onExit));
}

FieldExit::FieldExit(QWidget* field, std::function<void()> onExit)
    : QObject(field), onExit_(std::move(onExit)) {
    field->installEventFilter(this);
}

bool FieldExit::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) onExit_();
    }
    return false;
}

}  // namespace ui
