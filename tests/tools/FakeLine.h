#pragma once
// A line that keeps what a mode sends, for testing modes without a pty.
#include <string>
#include <vector>

#include "tools/SimMode.h"

struct FakeLine : sim::Line {
    struct Sent {
        std::string bytes;
        sim::Clock::duration delay;
    };
    std::vector<Sent> sent;
    bool pulled = false;
    sim::Clock::time_point clock = sim::Clock::time_point{} + std::chrono::hours(1);

    void send(std::string bytes, sim::Clock::duration delay) override {
        sent.push_back({std::move(bytes), delay});
    }
    void unplug() override { pulled = true; }
    sim::Clock::time_point now() const override { return clock; }

    std::string all() const {
        std::string s;
        for (const Sent& x : sent) s += x.bytes;
        return s;
    }
};
