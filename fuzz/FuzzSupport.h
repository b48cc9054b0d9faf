#pragma once
// Shared by the fuzz targets. The test doubles of tests/support report a broken contract through
// GoogleTest; in a fuzzer such a report must end the process so that libFuzzer keeps the input.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

namespace fuzz {

// A property that does not hold: says which, then aborts (libFuzzer saves the input).
[[noreturn]] inline void fail(const char* property) {
    std::fprintf(stderr, "\n*** property does not hold: %s\n", property);
    std::abort();
}

inline void require(bool holds, const char* property) {
    if (!holds) fail(property);
}

// Makes every GoogleTest failure, also one reported outside a test, abort after it is printed.
inline void abortOnTestFailure() {
    struct Abort : testing::EmptyTestEventListener {
        void OnTestPartResult(const testing::TestPartResult& result) override {
            if (result.failed()) std::abort();
        }
    };
    static const bool installed = [] {
        testing::UnitTest::GetInstance()->listeners().Append(new Abort);
        return true;
    }();
    (void)installed;
}

// Takes the fuzz input apart: leading bytes steer the harness, the rest is the payload.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // The next byte, 0 once the input is used up.
    std::uint8_t byte() { return size_ ? (--size_, *data_++) : 0; }
    // The next `count` bytes (fewer at the end).
    std::span<const std::uint8_t> take(std::size_t count) {
        if (count > size_) count = size_;
        std::span<const std::uint8_t> taken(data_, count);
        data_ += count;
        size_ -= count;
        return taken;
    }
    std::span<const std::uint8_t> rest() { return take(size_); }
    std::size_t left() const { return size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzz
