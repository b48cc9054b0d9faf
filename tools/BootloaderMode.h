#pragma once
// The terminal's bootloader: takes records (2-byte big-endian length L, then L body bytes whose
// last two are the CRC-16/UMTS of the rest), checks each body's CRC and answers with one byte:
// the version byte for an accepted record, the reject byte otherwise. A settings request
// ("$...End:") goes unanswered. Faults for tests and soaks are chosen per record number (1 for the
// first record received, repeats counted too) or as rates. It hides nothing: every record is kept
// as it came, a repeat of an accepted one included, so a test sees exactly what would have been
// flashed.
#include <cstdint>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tools/SimMode.h"

namespace sim {

struct BootloaderOptions {
    std::uint8_t acceptByte = 0x11;  // 0x11: bootloader version 01, 0x33: version 02
    std::uint8_t rejectByte = 0xEE;
    std::set<unsigned> rejectRecords;        // answered with the reject byte whatever their CRC
    std::set<unsigned> silentRecords;        // not answered at all
    std::set<unsigned> doubleAnswerRecords;  // answered with two bytes, like the application
    std::set<unsigned> lateRecords;          // answered lateMs late (every record when empty)
    unsigned lateMs = 0;
    unsigned unplugAtRecord = 0;  // the line is closed when this record has come in, unanswered
    // The terminal's application left its monitor output on: `chatterText` every chatterMs until
    // the first byte of a record comes in.
    unsigned chatterMs = 0;
    std::string chatterText = "GPS=0000.0000N,00000.0000E:\r\n";
    // Answers of two or more bytes go out one byte at a time, this far apart (0: in one piece).
    unsigned byteGapMs = 0;
    double rejectRate = 0;  // chance of rejecting a good record
    double lossRate = 0;    // chance of leaving a record unanswered
    unsigned seed = 1;
};

class BootloaderMode : public Mode {
  public:
    explicit BootloaderMode(BootloaderOptions options = {});

    void received(const std::uint8_t* data, std::size_t length, Line& line) override;
    std::optional<Clock::time_point> wakeAt() const override;
    void tick(Line& line) override;

    // What has been seen so far (any thread).
    unsigned recordsReceived() const;
    unsigned recordsAccepted() const;
    // Settings requests that came in and went unanswered.
    unsigned settingsRequestsIgnored() const;
    // The accepted records one after the other, length fields included, a repeat of an accepted
    // record as often as it came: the image as it would be flashed.
    std::vector<std::uint8_t> image() const;
    // Every record received, accepted or not, in order.
    std::vector<std::vector<std::uint8_t>> records() const;
    bool saveImage(const std::string& path) const;

  private:
    void handleRecord(const std::vector<std::uint8_t>& record, Line& line);
    // How many leading bytes of `data` belong to a settings request, which goes unanswered.
    std::size_t skipSettingsRequest(const std::uint8_t* data, std::size_t length);
    bool chance(double rate);

    BootloaderOptions options_;
    std::vector<std::uint8_t> pending_;  // engine thread: bytes of the record being received
    bool inRequest_ = false;             // engine thread: inside a settings request
    std::string requestTail_;            // engine thread: its last bytes, for "End:"
    std::mt19937 random_;
    bool chattering_;
    Clock::time_point nextChatter_{};

    mutable std::mutex lock_;  // guards what follows
    unsigned received_ = 0, accepted_ = 0, settingsRequests_ = 0;
    std::vector<std::uint8_t> image_;
    std::vector<std::vector<std::uint8_t>> records_;
};

}  // namespace sim
