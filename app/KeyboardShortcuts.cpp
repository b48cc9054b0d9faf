#include "app/KeyboardShortcuts.h"

#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include "app/Unit1.h"

namespace app {

void bindKeyboardShortcuts(TForm1& w) {
    for (QPushButton* read : {w.ReadInternetB, w.ReadApnB, w.ReadTLB, w.ReadGpsB, w.ReadMicB})
        read->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    for (QPushButton* write : {w.WriteInternetB, w.WriteApnB, w.WriteTLB, w.WriteMicB})
        write->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    w.ToolButton1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    w.ToolButton3->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    // The menu captions carry no mnemonic, so F10 opens the first menu, as on the desktop.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), &w);
    QObject::connect(menuKey, &QShortcut::activated, &w,
                     [&w] { w.MainMenu1->setActiveAction(w.Fail1->menuAction()); });
}

}  // namespace app
