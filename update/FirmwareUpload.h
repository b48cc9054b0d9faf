#pragma once
// The firmware upload: sends the loaded image record by record to the terminal's bootloader and
// waits after each for its one-byte answer (0x11 or 0x33 accepted, any other byte rejected, two
// or more bytes: not the bootloader). Rejected and unanswered records are sent again until the
// tenth failed answer of the upload.
//
// The link is closed when the upload starts and opened again by Timer1 5000 ms later; the end of
// an upload arms Timer1 for 1 ms so the link is closed outside the reception that ended it.
// A record that gets no answer times out after 1 s plus twice its wire time at the line rate;
// then the upload waits kLateAnswerGraceMs more. An answer inside that grace is the record's own
// (the records carry no sequence number, so a repeat of a record the bootloader took would be
// flashed twice); only silence through the grace counts as a failed answer, like an empty
// reception, and the record goes out again after what is pending has been discarded, so an
// answer later still is not taken for the repeat's. An unplugged or closed link ends the upload
// with kLinkLostText.
//
// Success needs the whole image acknowledged: an empty image ends at once without it. What
// happens is told to UploadEvents; the link is driven through UploadLink.
//
// Main thread only: every handler, the two timers' ticks and OnReception run there.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Catalogue.h"
#include "platform/Timer.h"
#include "update/UpdateFile.h"
#include "update/UploadEvents.h"
#include "update/UploadLink.h"

namespace update {

constexpr std::uint8_t kAcceptVersion01 = 0x11;
constexpr std::uint8_t kAcceptVersion02 = 0x33;
constexpr std::uint8_t kFailureLimit = 10;  // failed answers per upload
constexpr int kLinkSettleMs = 5000;         // closed link before the first record
constexpr int kWindUpMs = 1;
constexpr int kRecordTimeoutBaseMs = 1000;  // plus twice the record's wire time
constexpr int kLateAnswerGraceMs = 1000;    // after a time-out, before the repeat

inline constexpr const char* kSuccessVersion01Text =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Обновление прошло успешно. BL ver 01");
inline constexpr const char* kSuccessVersion02Text =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Обновление прошло успешно. BL ver 02");
inline constexpr const char* kRejectedText =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Ошибка CRC. Файл поврежден.");
inline constexpr const char* kNoAnswerText =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Адресат не отвечает");
inline constexpr const char* kNotBootloaderText =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Адресат должен быть пересброшен");
inline constexpr const char* kLinkLostText =
    VIGIL_TRANSLATABLE("FirmwareUpload", "Связь с адресатом потеряна");

// The line added to what an interrupted upload reports: it stopped at `record` of `records`, the
// terminal waits in its bootloader, and `again` (what the operator does to start over, e.g.
// "нажмите \"Програм.\"") is to be done once the terminal is connected.
std::string unfinishedText(std::size_t record, std::size_t records, std::string_view again);

class FirmwareUpload {
  public:
    enum class State { Idle, WaitingToBegin, Sending, WindingUp };

    // Takes over both timers' onTimer. `image` is the main window's image; BUpgradeClick takes a
    // copy of its loaded bytes, so a file opened during the upload does not change what is sent.
    FirmwareUpload(UploadLink& link, UploadEvents& events, platform::Timer& timer1,
                   platform::Timer& recordTimer, const FirmwareImage& image);

    void BUpgradeClick();
    void Timer1Timer();
    void SendNextRecord();
    // The upload branch of HandleReception, taken while uploadRunning(): n bytes at data.
    void OnReception(std::size_t n, const std::uint8_t* data);
    // Called when the link closes or the device is gone; it ends a running upload.
    void OnLinkLost();

    bool uploadRunning() const { return uploadRunning_; }
    State state() const { return state_; }
    std::uint32_t SentLength() const { return SentLength_; }
    std::uint16_t RecordLength() const { return RecordLength_; }
    std::uint8_t FailureCount() const { return FailureCount_; }
    // While records go out, and after an upload that stopped with records still to send (the
    // link lost, the failure limit): unfinishedText of the record in hand; empty otherwise.
    std::string unfinishedLine(std::string_view again) const;
    // The record time-out for a record of `bytes` at `bitsPerSecond`.
    static int recordTimeoutMs(std::size_t bytes, unsigned bitsPerSecond);

  private:
    void RecordTimeout();
    void failedAnswer(UploadOutcome atLimit);
    void stop(UploadOutcome outcome);
    void windUp(const UploadResult& result);

    UploadLink& link_;
    UploadEvents& events_;
    platform::Timer& timer1_;
    platform::Timer& recordTimer_;
    const FirmwareImage& image_;
    std::vector<std::uint8_t> sending_;  // the image as it was when the upload started

    bool uploadRunning_ = false;
    bool lateAnswerGrace_ = false;  // a record timed out; its repeat waits for a late answer
    State state_ = State::Idle;
    std::uint32_t SentLength_ = 0;
    std::uint16_t RecordLength_ = 0;
    std::uint8_t FailureCount_ = 0;
    std::uint8_t lastAccept_ = 0;  // the accepting byte of the latest record taken
    std::pair<std::size_t, std::size_t> unfinished_;  // record (1-based) and records; {0, 0}: none
};

}  // namespace update
