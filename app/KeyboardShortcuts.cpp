#include "app/KeyboardShortcuts.h"

#include <QPushButton>
#include <QToolButton>

#include "app/Unit1.h"

namespace app {

void bindKeyboardShortcuts(TForm1& w) {
    for (QPushButton* read : {w.ReadInternetB, w.ReadApnB, w.ReadTLB, w.ReadGpsB, w.ReadMicB})
        read->setShortcut(kReadPageKey);
    for (QPushButton* write : {w.WriteInternetB, w.WriteApnB, w.WriteTLB, w.WriteMicB})
        write->setShortcut(kWritePageKey);
    w.ToolButton1->setShortcut(kConnectKey);
    w.ToolButton3->setShortcut(kDisconnectKey);
}

}  // namespace app
