#pragma once
// The port window's status label: the designed large font for the short connection states, and
// a long line (why a port cannot be opened, with its device path) shown whole in the same fixed
// window: the text wraps and its font shrinks until it fits the label's area, never cut off.
#include <QLabel>

class TStatusLabel : public QLabel {
  public:
    using QLabel::QLabel;
    static constexpr double SmallestPointSize = 6.0;

    // The font the text is drawn in now (the label's own, or smaller).
    QFont fittedFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int wrapFlags(const QFont& font) const;
};
