#pragma once
// What the firmware upload needs of the main window. Every call is made on the main thread, from
// the upload's handlers (BUpgradeClick, Timer1Timer, OnReception, the record time-out, OnLinkLost).
#include <cstddef>
#include <cstdint>
#include <string>

namespace update {

class UploadHost {
public:
    virtual ~UploadHost() = default;

    // The port's own open state (not the tool bar's image of it: a message box still open may
    // not have let the tool bar catch up yet).
    virtual bool isLinkOpen() const = 0;
    virtual bool isLinkClosed() const = 0;
    // The port settings window's connect/disconnect toggle (TForm2::Button1Click).
    virtual void toggleLink() = 0;
    // Clears TForm2's AwaitingReply, so closing the port raises no "Разрыв соединения".
    virtual void clearAwaitingReply() = 0;
    // Installs TForm1::ConnectionChanged as TForm2's OnLinkStateChanged.
    virtual void installConnectionChanged() = 0;
    // TForm1::WritePort: true when the block was handed to the port.
    virtual bool writePort(const std::uint8_t* data, std::size_t length) = 0;
    // Drops received bytes not yet handed over, so a late answer to a record that timed out is
    // not taken as the answer to its repeat.
    virtual void discardPendingInput() = 0;
    // First byte of the main window's receive buffer (left over from the latest reception).
    virtual std::uint8_t receiveBufferFirstByte() const = 0;

    virtual void setProgressPosition(int position) = 0;  // ProgressBar1
    virtual void setLabel56(const std::string& text) = 0;
    virtual void setLabel57(const std::string& text) = 0;
    virtual void setStatusPanel1(const std::string& text) = 0;  // StatusBar1 panel 1
    virtual void setUpgradeEnabled(bool enabled) = 0;           // BUpgrade

    // Current line rate of the port, for the record time-out.
    virtual unsigned lineRateBitsPerSecond() const = 0;

    // True from BUpgradeClick to the end of the wind-up: nothing but records may go on the link
    // and the image must stay as it is meanwhile.
    virtual void uploadActiveChanged(bool /*active*/) {}
};

}  // namespace update
