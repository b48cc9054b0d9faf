#pragma once
// The program's three windows as main() builds them, offscreen, on private files: a registry
// store and a COM port map in a temporary folder, recorded messages and help, scripted file
// dialogs and hand-driven timers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/TApplication.h"
#include "app/Unit1.h"
#include "platform/MainThread.h"
#include "platform/RecordingHelpService.h"
#include "platform/RecordingMessageService.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/Timer.h"
#include "platform/qt/QtMainThread.h"
#include "serial/Unit2.h"
#include "support/PtyPair.h"
#include "ui/AboutBox.h"

namespace apptest {

// The program's own application object, as main() makes it.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "Config_Vigil";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new TApplication(argc, argv);
        platform::installQtMainThreadHook();
        return a;
    }();
    return *app;
}

// A folder of its own, with VIGIL_REGISTRY pointing into it, for the test's lifetime.
class PrivateFolder {
public:
    PrivateFolder() {
        char dir[] = "/tmp/vigil-app-XXXXXX";
        path_ = ::mkdtemp(dir);
        ::setenv("VIGIL_REGISTRY", (path_ / "registry.reg").c_str(), 1);
    }
    ~PrivateFolder() {
        ::unsetenv("VIGIL_REGISTRY");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Lets the Qt loop and the main-thread hand-over run until `done` holds (generous bound).
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        platform::MainThread::drainFor(std::chrono::milliseconds(2));
    }
    return true;
}

inline void pumpFor(std::chrono::milliseconds period) {
    const auto deadline = std::chrono::steady_clock::now() + period;
    pumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, period + std::chrono::seconds(1));
}

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() {
        application();
        // The folder the file dialogs move into is restored afterwards.
        startDir_ = std::filesystem::current_path();
        form1 = std::make_unique<TForm1>();
        form2 = std::make_unique<TForm2>();
        about = std::make_unique<ui::TAboutBox>(form1.get());
        form1->setPortWindow(form2.get());
        form1->setAboutBox(about.get());
        form1->setHelpService(&help);
        auto t1 = std::make_unique<platform::ManualTimer>();
        auto t2 = std::make_unique<platform::ManualTimer>();
        timer1 = t1.get();
        recordTimer = t2.get();
        form1->setTimers(std::move(t1), std::move(t2));
        auto d = std::make_unique<platform::ScriptedFileDialogs>();
        dialogs = d.get();
        form1->setFileDialogs(std::move(d));
    }

    ~WindowFixture() override {
        if (form2 && form2->CommPort1->IsEnabled()) {
            form2->AwaitingReply = false;
            form2->Button1Click();
        }
        about.reset();
        form1.reset();
        form2.reset();
        std::filesystem::current_path(startDir_);
    }

    // Maps a pty to COM7, selects it in the port window and opens the link from the tool bar.
    void connectTo(const std::string& device) {
        map.map(device, 7);
        form2->CommPort1->SetComNumber(7);
        form1->ToolButton1Click();
        ASSERT_TRUE(pumpUntil([&] { return form2->CommPort1->IsEnabled(); }));
        ASSERT_EQ(TImageList::imageIndex(form1->ToolButton3), 2);
    }

    PrivateFolder folder;
    testsupport::ComPortMapFile map;
    platform::RecordingMessageService messages;
    platform::RecordingHelpService help;
    std::filesystem::path startDir_;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<ui::TAboutBox> about;
    platform::ManualTimer* timer1 = nullptr;
    platform::ManualTimer* recordTimer = nullptr;
    platform::ScriptedFileDialogs* dialogs = nullptr;
};

}  // namespace apptest
