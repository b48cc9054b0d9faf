#pragma once
// A captioned group of radio buttons addressed by item index, -1 meaning no item chosen.
#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    TRadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    // -1 (or any index outside the items) clears the choice.
    void setItemIndex(int index);
    int count() const;

  private:
    QButtonGroup* buttons_;
};
