#pragma once
// The journal window's small entry for the team's records server (ui/TeamServerSetting.h): an
// address without a password is kept; one with a password is refused with a pointer to the libpq
// password file. The records take the address at the program's next start.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

class TeamServerEntry : public QWidget {
    Q_OBJECT
  public:
    explicit TeamServerEntry(QWidget* parent = nullptr);

    QLineEdit* TeamServer = nullptr;
    QPushButton* SaveTeamServer = nullptr;
    QLabel* TeamServerNote = nullptr;

  private:
    void saveClick();
};

}  // namespace ui
