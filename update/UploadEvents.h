#pragma once
// What the firmware upload tells its front ends, in its own terms: each front end words and
// shows it (the window in its labels, bar and status panel, `vigil` in its progress and exit
// code). Every call is made on the main thread, from the upload's handlers.
#include <cstddef>
#include <cstdint>
#include <string>

namespace update {

enum class UploadOutcome {
    Success,        // every record acknowledged
    NothingSent,    // the image was empty
    Rejected,       // the tenth failed answer was a rejection (or a record ran past the image)
    NoAnswer,       // the tenth failed answer was silence
    NotBootloader,  // a reception of two or more bytes: a running program answered
    LinkLost,       // the link closed, was unplugged, did not reopen or refused a record
};

struct UploadResult {
    UploadOutcome outcome = UploadOutcome::NothingSent;
    std::uint8_t bootloaderVersion = 0;  // 1 or 2, from the accepting byte, on success
    // Where an upload that stopped with records still to send stopped: record (1-based) of
    // records; 0 of 0 when it did not (the terminal is then not left in its bootloader).
    std::size_t record = 0, records = 0;

    bool succeeded() const { return outcome == UploadOutcome::Success; }
};

// The status text of a result, as status panel 1 and `vigil` show it; "" for NothingSent.
std::string statusText(const UploadResult& result);
// The same text as written, whatever the language shown: what the records keep, so that they
// read the same whichever language the upload ran in.
const char* statusSource(const UploadResult& result);

class UploadEvents {
  public:
    virtual ~UploadEvents() = default;

    // BUpgrade pressed: the link is closed for the bootloader; `imageBytes` will be sent.
    virtual void uploadStarted(std::size_t imageBytes) = 0;
    // The link is open again and the first record goes out.
    virtual void sendingBegun() = 0;
    // A record was accepted: `acknowledged` of `imageBytes` bytes are taken so far.
    virtual void recordAccepted(std::uint32_t acknowledged, std::size_t imageBytes) = 0;
    // A failed answer (rejected or silent): the record goes out again; `failures` so far.
    virtual void recordRepeated(int /*failures*/) {}
    // No more records go out; the link is closed by the wind-up that follows. `acknowledged`
    // image bytes were taken.
    virtual void uploadFinished(const UploadResult& result, std::uint32_t acknowledged) = 0;
    // The wind-up is over (the link closed): a new upload may start.
    virtual void uploadIdle() = 0;
};

}  // namespace update
