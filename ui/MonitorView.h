#pragma once
// Binds the traffic monitor lines to the memo MemoIn: each reception's lines are appended, the
// memo keeps the newest 500 lines in teal and shows its last line. Under a flood the repaint is
// batched: lines wait for a short single-shot timer and go into the memo together, so a burst of
// receptions costs one layout, while every reception still gives its own lines.
#include <QColor>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <span>

#include "ui/TrafficMonitor.h"

class QPlainTextEdit;

namespace ui {

class MonitorView : public QObject {
    Q_OBJECT
  public:
    static constexpr int kRepaintDelayMs = 25;
    static inline const QColor kTeal{0, 128, 128};

    // Empties the memo and limits it to the monitor's line count.
    explicit MonitorView(QPlainTextEdit* memo, QObject* parent = nullptr);

    // One reception (DumpReception).
    void dump(std::span<const std::uint8_t> bytes);
    // Removes every line, shown or waiting (BClearMemoClick).
    void clear();
    // Puts the waiting lines into the memo now.
    void flush();

  private:
    QPlainTextEdit* memo_;
    PendingLines pending_;
    QTimer repaint_;
};

}  // namespace ui
