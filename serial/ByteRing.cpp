#include "serial/ByteRing.h"

namespace serial {

void ByteRing::allocate(std::uint32_t capacity) {
    bytes_.assign(capacity, 0);
    used_ = 0;
    if (start_ >= capacity) start_ = 0;
}

void ByteRing::release() {
    bytes_ = {};
    used_ = 0;
}

std::uint32_t ByteRing::start() {
    std::lock_guard<std::mutex> guard(lock_);
    return start_;
}

ByteRing::Snapshot ByteRing::snapshot() {
    std::lock_guard<std::mutex> guard(lock_);
    return {start_, used_, generation_};
}

ByteRing::Spans ByteRing::writable() {
    const std::uint32_t size = capacity();
    const auto [s, u, generation] = snapshot();
    Spans spans;
    spans.generation = generation;
    const std::uint32_t end = s + u;
    if (end < size) {
        spans.first = {bytes_.data() + end, size - end};
        spans.second = {bytes_.data(), s};
    } else {
        spans.first = {bytes_.data() + (end - size), s - (end - size)};
    }
    return spans;
}

bool ByteRing::commit(std::uint32_t generation, std::uint32_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    if (generation != generation_) return false;
    used_ += count;
    return true;
}

ByteRing::Spans ByteRing::readable() {
    const std::uint32_t size = capacity();
    const auto [s, u, generation] = snapshot();
    Spans spans;
    spans.generation = generation;
    if (u == 0) return spans;
    if (s + u < size) {
        spans.first = {bytes_.data() + s, u};
    } else {
        spans.first = {bytes_.data() + s, size - s};
        spans.second = {bytes_.data(), s + u - size};
    }
    return spans;
}

ByteRing::Consumed ByteRing::consume(std::uint32_t generation, std::uint32_t count) {
    std::lock_guard<std::mutex> guard(lock_);
    if (generation != generation_) return {};
    // The count now, not the one readable() saw: the producer may have filled the ring since.
    const bool wasFull = used_ == capacity();
    used_ -= count;
    start_ += count;
    if (start_ >= capacity()) start_ -= capacity();
    return {true, wasFull};
}

bool ByteRing::discard(std::uint32_t generation) {
    std::lock_guard<std::mutex> guard(lock_);
    if (generation != generation_) return false;
    discardLocked();
    return true;
}

bool ByteRing::flush() {
    std::lock_guard<std::mutex> guard(lock_);
    const bool wasFull = capacity() != 0 && used_ == capacity();
    discardLocked();
    ++generation_;
    return wasFull;
}

// The end of the used region stays where it is: a producer's bytes in flight land there.
void ByteRing::discardLocked() {
    if (used_ == 0) return;
    start_ += used_;
    if (start_ >= capacity()) start_ -= capacity();
    used_ = 0;
}

}  // namespace serial
