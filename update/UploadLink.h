#pragma once
// What the firmware upload needs of the link it sends over. Every call is made on the main
// thread, from the upload's handlers (BUpgradeClick, Timer1Timer, OnReception, the record
// time-out, OnLinkLost).
#include <cstddef>
#include <cstdint>

namespace update {

class UploadLink {
  public:
    virtual ~UploadLink() = default;

    // The port's own open state (not the tool bar's image of it: a message box still open may
    // not have let the tool bar catch up yet).
    virtual bool isLinkOpen() const = 0;
    // Opens a closed link, closes an open one.
    virtual void toggleLink() = 0;
    // True when the block was handed to the port.
    virtual bool writePort(const std::uint8_t* data, std::size_t length) = 0;
    // Drops received bytes not yet handed over, so a late answer to a record that timed out is
    // not taken as the answer to its repeat.
    virtual void discardPendingInput() = 0;
    // Current line rate of the port, for the record time-out.
    virtual unsigned lineRateBitsPerSecond() const = 0;

    // Before the upload toggles the link itself: a close of ours is no broken connection
    // (`expectingNoReply`), and the link's state changes reach the upload. Nothing to do where
    // the link reports to the upload directly.
    virtual void takeOverLink(bool /*expectingNoReply*/) {}
};

}  // namespace update
