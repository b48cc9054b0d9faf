#pragma once
// The About box: a fixed dialog with the program's picture, name, version, description and the
// maker's web address, closed with OK (also the default button, so Enter closes it) or the
// window's close button. It holds no state; every opening shows the same content.
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace ui {

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 324;
    static constexpr int kClientHeight = 387;

    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Label2;
    QLabel* Comments;
    QLabel* Label1;
    QLabel* Label3;
    QPushButton* OKButton;

    void OKButtonClick();

  protected:
    void showEvent(QShowEvent* event) override;
};

// Help -> About: shows the box modally until it is closed.
void About1Click(TAboutBox& box);

}  // namespace ui
