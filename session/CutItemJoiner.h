#pragma once
// Receptions cut the terminal's answer anywhere, and each is parsed on its own, so an item cut
// between two receptions would be lost: its head lacks the ":", its rest lacks the key. This keeps
// the bytes after the last ":" of a reception and joins them with the start of the next one, up to
// its first ":", so that item can be parsed too. Forgotten when a new request goes out, so a head
// left over from an earlier answer is never joined with a later one. No Qt.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/ControlAccess.h"

namespace session {

class CutItemJoiner {
  public:
    // Longest item joined; a longer one (the terminal's values are short) stays lost, as a single
    // reception's parse would have it.
    static constexpr std::size_t kItemCapacity = 512;

    // The item that `data` completes (empty when none), then keeps the head `data` leaves open.
    std::string next(const std::uint8_t* data, std::size_t count);
    void forget() { head_.clear(); }
    // A reception parsed on its own into `controls`, and then the item it completes.
    void parse(std::span<const std::uint8_t> reception, protocol::ControlAccess& controls);

  private:
    std::string head_;
};

}  // namespace session
