#include "ui/MonitorView.h"

#include <QPlainTextEdit>
#include <QScrollBar>

namespace ui {

MonitorView::MonitorView(QPlainTextEdit* memo, QObject* parent) : QObject(parent), memo_(memo) {
    memo_->clear();
    memo_->setMaximumBlockCount(static_cast<int>(kMonitorMaxLines));
    repaint_.setSingleShot(true);
    repaint_.setInterval(kRepaintDelayMs);
    connect(&repaint_, &QTimer::timeout, this, &MonitorView::flush);
}

void MonitorView::dump(std::span<const std::uint8_t> bytes) {
    if (memo_->palette().color(QPalette::Text) != kTeal) {
        QPalette palette = memo_->palette();
        palette.setColor(QPalette::Text, kTeal);
        memo_->setPalette(palette);
    }
    auto lines = monitorLines(bytes);
    if (lines.empty()) return;
    pending_.add(std::move(lines));
    if (!repaint_.isActive()) repaint_.start();
}

void MonitorView::clear() {
    repaint_.stop();
    pending_.clear();
    memo_->clear();
}

void MonitorView::flush() {
    repaint_.stop();
    if (pending_.empty()) return;
    const bool replaces = pending_.replacesView();
    QString text;
    for (const auto& line : pending_.take()) {
        if (!text.isEmpty()) text += QLatin1Char('\n');
        text += QLatin1String(line.data(), static_cast<qsizetype>(line.size()));
    }
    if (replaces)
        memo_->setPlainText(text);
    else
        memo_->appendPlainText(text);
    QScrollBar* bar = memo_->verticalScrollBar();
    bar->setValue(bar->maximum());
}

}  // namespace ui
