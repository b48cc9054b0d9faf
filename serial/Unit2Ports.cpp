// What the port window tells about the ports themselves: why an open failed.
#include <QLabel>

#include "serial/Unit2.h"

void TForm2::CommPort1OpenFailed(TCommPort*) {
    Label1->setText(QString::fromStdString(CommPort1->OpenFailureCause()));
}
