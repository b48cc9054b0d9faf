#pragma once
// The windows connected to the terminal simulator, in this process, on a pty mapped to COM7.
#include <memory>

#include "WindowFixture.h"
#include "tools/Simulator.h"

namespace apptest {

template <class ModeT>
class SimFixture : public WindowFixture {
protected:
    template <class... Args>
    void startSimulator(Args&&... args) {
        mode = std::make_unique<ModeT>(std::forward<Args>(args)...);
        simulator = std::make_unique<sim::Simulator>(*mode);
        const std::string path = simulator->createPty();
        ASSERT_FALSE(path.empty());
        simulator->start();
        connectTo(path);
    }

    ~SimFixture() override {
        if (simulator) simulator->stop();
    }

    std::unique_ptr<ModeT> mode;
    std::unique_ptr<sim::Simulator> simulator;
};

}  // namespace apptest
