#include "serial/Unit2StatusLabel.h"

#include <QPainter>

namespace {
constexpr double kStep = 0.5;
}

// Words wrap; a path longer than a line (no blank to wrap at) may break anywhere.
int TStatusLabel::wrapFlags(const QFont& font) const {
    const QRect area = contentsRect();
    const int words = static_cast<int>(alignment()) | Qt::TextWordWrap;
    if (QFontMetrics(font).boundingRect(area, words, text()).width() <= area.width()) return words;
    return static_cast<int>(alignment()) | Qt::TextWrapAnywhere;
}

QFont TStatusLabel::fittedFont() const {
    const QRect area = contentsRect();
    QFont f = font();
    for (double size = f.pointSizeF(); size >= SmallestPointSize; size -= kStep) {
        f.setPointSizeF(size);
        const QRect needed = QFontMetrics(f).boundingRect(area, wrapFlags(f), text());
        if (needed.height() <= area.height() && needed.width() <= area.width()) break;
    }
    return f;
}

// One line of the designed font: the layout gives the label the rest of the page.
QSize TStatusLabel::sizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.averageCharWidth() * 20, metrics.height()};
}

QSize TStatusLabel::minimumSizeHint() const {
    return sizeHint();
}

void TStatusLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFont f = fittedFont();
    painter.setFont(f);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), wrapFlags(f), text());
}
