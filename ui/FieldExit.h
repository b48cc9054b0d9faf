#pragma once
// The "focus leaves the field" event of an edit: runs when the operator moves to another control,
// not when the window itself loses activation (a message box opening over it, another program)
// or a menu pops up - otherwise a warning box shown while typing would itself raise the exit
// check of the same field.
#include <QObject>
#include <functional>

class QWidget;

namespace ui {

class FieldExit : public QObject {
    Q_OBJECT
  public:
    // The watcher lives as long as the field.
    static void watch(QWidget* field, std::function<void()> onExit);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FieldExit(QWidget* field, std::function<void()> onExit);
    std::function<void()> onExit_;
};

}  // namespace ui
