// The traffic monitor page: each reception shown as hex and text lines in MemoIn.
#include <span>

#include "app/Unit1.h"
#include "ui/MonitorView.h"

void TForm1::DumpReception() {
    Monitor->dump(std::span<const std::uint8_t>(ReceiveBuffer.data(), ReceivedCount));
}

void TForm1::BClearMemoClick() {
    Monitor->clear();
}
