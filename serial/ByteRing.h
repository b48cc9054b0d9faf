#pragma once
// ByteRing: a byte ring between one producing and one consuming thread; the port component keeps
// one for each direction (receive: the receive thread produces, the main thread consumes;
// transmit: the main thread produces, the transmit thread consumes).
//
// - The bytes need no lock: the producer writes only into the spans writable() gave it (outside
//   the used region) and publishes them with commit(); the consumer reads only the spans
//   readable() gave it (inside the used region) and frees them with consume(). The start index
//   and the used count change together under one lock, held only for that: never across a copy,
//   a device call or a handler.
// - flush() discards what is readable and bumps a generation. A transfer whose spans were taken
//   before (a device read into the writable span, a device write from the readable one) carries
//   the old generation, and its commit or consume then counts nothing. The start moves past the
//   discarded bytes, so new bytes never land on those a transfer in flight still reads.
// - used() reads without the lock, for display and for deciding whether to wait.
// - allocate() and release() run while neither thread touches the ring. The start index survives
//   them (it is shown for diagnostics); one beyond a smaller ring starts again at 0.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace serial {

class ByteRing {
  public:
    struct Span {
        char* data = nullptr;
        std::uint32_t size = 0;
    };
    // Up to two pieces: to the ring's end, then on from its beginning.
    struct Spans {
        Span first, second;
        std::uint32_t generation = 0;
        std::uint32_t size() const { return first.size + second.size; }
    };
    struct Consumed {
        bool counted = false;  // false: flushed since readable(), nothing was freed
        bool wasFull = false;  // the ring was full just before: a producer may be parked on it
    };

    void allocate(std::uint32_t capacity);
    void release();
    std::uint32_t capacity() const { return static_cast<std::uint32_t>(bytes_.size()); }
    std::uint32_t used() const { return used_.load(); }
    bool full() const { return used_.load() >= capacity(); }
    std::uint32_t start();

    // Producer side.
    Spans writable();
    bool commit(std::uint32_t generation, std::uint32_t count);

    // Consumer side.
    Spans readable();
    Consumed consume(std::uint32_t generation, std::uint32_t count);
    // What is readable cannot be delivered: drop it, unless a flush already did.
    bool discard(std::uint32_t generation);

    // Either side. Returns whether the ring was full.
    bool flush();

  private:
    struct Snapshot {
        std::uint32_t start, used, generation;
    };
    Snapshot snapshot();
    void discardLocked();

    std::vector<char> bytes_;
    std::mutex lock_;
    std::uint32_t start_ = 0;
    std::uint32_t generation_ = 0;
    std::atomic<std::uint32_t> used_{0};
};

}  // namespace serial
