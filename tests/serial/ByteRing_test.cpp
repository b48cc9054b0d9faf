// The port's byte ring on its own: spans at the wrap, a full ring, flushes while a transfer is in
// flight, and one producer thread streaming through a small ring to one consumer thread.
#include "serial/ByteRing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

namespace {

using serial::ByteRing;

std::uint32_t put(ByteRing& ring, const std::string& bytes) {
    const ByteRing::Spans room = ring.writable();
    const std::uint32_t first = std::min<std::uint32_t>(bytes.size(), room.first.size);
    const std::uint32_t second = std::min<std::uint32_t>(bytes.size() - first, room.second.size);
    if (first) std::memcpy(room.first.data, bytes.data(), first);  // a full ring has no span
    if (second) std::memcpy(room.second.data, bytes.data() + first, second);
    return ring.commit(room.generation, first + second) ? first + second : 0;
}

std::string take(ByteRing& ring, std::uint32_t most) {
    const ByteRing::Spans held = ring.readable();
    std::string out(held.first.data, std::min(most, held.first.size));
    out.append(held.second.data, std::min<std::uint32_t>(most - out.size(), held.second.size));
    EXPECT_TRUE(ring.consume(held.generation, static_cast<std::uint32_t>(out.size())).counted);
    return out;
}

TEST(ByteRing, SpansSplitAtTheEndAndTheStartWrapsAround) {
    ByteRing ring;
    ring.allocate(10);
    EXPECT_EQ(put(ring, "abcdefg"), 7u);
    EXPECT_EQ(take(ring, 5), "abcde");
    EXPECT_EQ(ring.start(), 5u);
    // Room: 3 to the end, then 5 from the beginning.
    const ByteRing::Spans room = ring.writable();
    EXPECT_EQ(room.first.size, 3u);
    EXPECT_EQ(room.second.size, 5u);
    EXPECT_EQ(put(ring, "hijklm"), 6u);
    const ByteRing::Spans held = ring.readable();
    EXPECT_EQ(std::string(held.first.data, held.first.size), "fghij");
    EXPECT_EQ(std::string(held.second.data, held.second.size), "klm");
    EXPECT_EQ(take(ring, 8), "fghijklm");
    EXPECT_EQ(ring.start(), 3u);
    EXPECT_EQ(ring.readable().size(), 0u);
}

TEST(ByteRing, AFullRingTakesNothingAndSaysSoWhenRoomIsFreed) {
    ByteRing ring;
    ring.allocate(8);
    put(ring, "123");
    take(ring, 3);
    EXPECT_EQ(put(ring, "abcdefghij"), 8u) << "exactly the free bytes, across the end";
    EXPECT_TRUE(ring.full());
    EXPECT_EQ(ring.writable().size(), 0u);
    EXPECT_EQ(put(ring, "x"), 0u);
    const ByteRing::Spans held = ring.readable();
    const ByteRing::Consumed freed = ring.consume(held.generation, 2);
    EXPECT_TRUE(freed.wasFull);
    EXPECT_FALSE(ring.consume(held.generation, 1).wasFull) << "only the freeing of a full ring";
    EXPECT_EQ(put(ring, "xyz"), 3u);
    EXPECT_EQ(take(ring, 8), "defghxyz");
    EXPECT_TRUE(ring.flush() == false);
}

TEST(ByteRing, AFlushVoidsTheTransferInFlightAndNewBytesLandBeyondIt) {
    ByteRing ring;
    ring.allocate(16);
    // A device read took the room, then the consumer flushed: the bytes belong to no one.
    const ByteRing::Spans room = ring.writable();
    std::memcpy(room.first.data, "late", 4);
    ring.flush();
    EXPECT_FALSE(ring.commit(room.generation, 4));
    EXPECT_EQ(ring.used(), 0u);

    // A device write is reading these while the producer flushes and puts new ones.
    put(ring, "in flight");
    const ByteRing::Spans held = ring.readable();
    EXPECT_TRUE(ring.flush() == false);
    EXPECT_EQ(put(ring, "new"), 3u);
    EXPECT_EQ(std::string(held.first.data, held.first.size), "in flight") << "not overwritten";
    EXPECT_FALSE(ring.consume(held.generation, held.size()).counted);
    EXPECT_FALSE(ring.discard(held.generation));
    EXPECT_EQ(take(ring, 16), "new");

    // A full ring's flush says so (the receive side re-arms on it).
    put(ring, std::string(16, 'f'));
    EXPECT_TRUE(ring.flush());

    // A write fails and drops the rest while a block is being put: the block is what goes next,
    // not the dropped bytes before it.
    put(ring, "lost");
    const ByteRing::Spans putting = ring.writable();
    std::memcpy(putting.first.data, "kept", 4);
    EXPECT_TRUE(ring.discard(ring.readable().generation));
    EXPECT_EQ(ring.used(), 0u);
    EXPECT_TRUE(ring.commit(putting.generation, 4));
    EXPECT_EQ(take(ring, 16), "kept");
}

TEST(ByteRing, OneProducerAndOneConsumerThreadPassEveryByteInOrder) {
    ByteRing ring;
    ring.allocate(61);  // prime, so pieces fall across the end at ever other places
    constexpr std::uint32_t kTotal = 200000;
    auto byteAt = [](std::uint32_t i) { return static_cast<char>((i * 31 + i / 251) & 0xFF); };
    std::thread producer([&] {
        for (std::uint32_t sent = 0; sent < kTotal;) {
            const ByteRing::Spans room = ring.writable();
            const std::uint32_t n = std::min({room.first.size, kTotal - sent, sent % 17 + 1});
            if (n == 0) {
                std::this_thread::yield();
                continue;
            }
            for (std::uint32_t i = 0; i < n; ++i) room.first.data[i] = byteAt(sent + i);
            ASSERT_TRUE(ring.commit(room.generation, n));
            sent += n;
        }
    });
    std::uint32_t received = 0, misplaced = 0;
    while (received < kTotal) {
        const ByteRing::Spans held = ring.readable();
        if (held.size() == 0) {
            std::this_thread::yield();
            continue;
        }
        for (std::uint32_t i = 0; i < held.first.size; ++i)
            misplaced += held.first.data[i] != byteAt(received + i);
        for (std::uint32_t i = 0; i < held.second.size; ++i)
            misplaced += held.second.data[i] != byteAt(received + held.first.size + i);
        ASSERT_TRUE(ring.consume(held.generation, held.size()).counted);
        received += held.size();
    }
    producer.join();
    EXPECT_EQ(misplaced, 0u);
    EXPECT_EQ(ring.used(), 0u);
}

}  // namespace
