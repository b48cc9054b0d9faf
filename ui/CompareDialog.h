#pragma once
// "Сравнение с терминалом": the parameters whose value on screen differs from the terminal's, one
// row each (parameter, page, on screen, in the terminal), and the two ways to settle them: write
// the screen's values of the differing groups, or take the terminal's values into the controls.
// Not modal: nothing waits on it.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "protocol/WriteCheck.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace ui {

class CompareDialog : public QDialog {
    Q_OBJECT
  public:
    // `window` holds the controls whose item texts name list values.
    explicit CompareDialog(QWidget& window);

    // `differences`: expected = on screen, actual = in the terminal (nullopt: not reported).
    void showDifferences(const std::vector<protocol::ValueMismatch>& differences, bool anyWritable);

    // A value as the operator reads it: a text, "да"/"нет", a list's item, a position.
    QString valueText(const protocol::Parameter& p, const std::optional<std::string>& wire) const;

    std::function<void()> onWriteScreen;
    std::function<void()> onTakeTerminal;

    QLabel* Summary = nullptr;
    QTableWidget* CompareTable = nullptr;
    QPushButton* CompareWriteScreen = nullptr;
    QPushButton* CompareTakeTerminal = nullptr;
    QPushButton* CompareClose = nullptr;

  private:
    QString itemText(const protocol::Parameter& p, int index) const;

    QWidget& window_;
};

}  // namespace ui
