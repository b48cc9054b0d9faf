#pragma once
// The program's three windows as main() builds them, offscreen, on private files (registry store
// and COM port map in a temporary folder), with recorded messages and help, scripted file
// dialogs and hand-driven timers (Timer1, the upload's and the answers' time-outs); optionally
// on the terminal simulator over a pty mapped to COM7.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QtWidgets>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

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
#include "tools/EncFile.h"
#include "tools/Simulator.h"
#include "ui/AboutBox.h"

namespace apptest {

using namespace std::chrono_literals;

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

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
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
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds bound = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        platform::MainThread::drainFor(2ms);
    }
    return true;
}

inline void pumpFor(std::chrono::milliseconds period) {
    const auto deadline = std::chrono::steady_clock::now() + period;
    pumpUntil([&] { return std::chrono::steady_clock::now() >= deadline; }, period + 1s);
}

// Whether the file is well-formed XML in the encoding it declares.
inline bool xmlParses(const std::filesystem::path& p) {
    return std::system(("xmllint --noout '" + p.string() + "' 2>/dev/null").c_str()) == 0;
}

class WindowFixture : public ::testing::Test {
  protected:
    WindowFixture() {
        application();
        startDir_ = std::filesystem::current_path();  // the file dialogs move elsewhere
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
        auto a = std::make_unique<platform::ManualTimer>();
        auto c = std::make_unique<platform::ManualTimer>();
        answerTimer = a.get();
        compareTimer = c.get();
        form1->setAnswerTimers(std::move(a), std::move(c));
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

    void openPath(const std::filesystem::path& p) {
        dialogs->answers.push_back(p.string());
        form1->Open1Click();
    }
    // File > Open of `name` in the test's folder, written with `bytes` first.
    std::filesystem::path open(const std::string& name, const std::string& bytes) {
        const auto p = folder.path() / name;
        writeFile(p, bytes);
        openPath(p);
        return p;
    }

    // File > Save into the test's folder: the export parses, or the save was refused with one
    // message and wrote nothing.
    void expectSaveKeepsXmlSound() {
        const std::size_t before = messages.shown().size();
        const auto xml = folder.path() / "SettingsAbt.xml";
        std::filesystem::remove(xml);
        std::filesystem::remove(folder.path() / "answer.abt");
        dialogs->answers.push_back((folder.path() / "answer").string());
        form1->Save1Click();
        const std::size_t said = messages.shown().size() - before;
        if (std::filesystem::exists(xml)) {
            EXPECT_EQ(said, 0u) << messages.texts().back();
            EXPECT_TRUE(xmlParses(xml)) << slurp(xml);
        } else {
            EXPECT_EQ(said, 1u);
            EXPECT_FALSE(std::filesystem::exists(folder.path() / "answer.abt"));
        }
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
    platform::ManualTimer* answerTimer = nullptr;   // an answer overdue
    platform::ManualTimer* compareTimer = nullptr;  // the comparison's answer overdue
    platform::ScriptedFileDialogs* dialogs = nullptr;
};

inline std::vector<std::uint8_t> pattern(std::size_t n) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return bytes;
}

// The windows connected to a simulated terminal running `ModeT`.
template <class ModeT>
class SimFixture : public WindowFixture {
  protected:
    template <class... Args>
    void startSimulator(Args&&... args) {
        plugIn(std::make_unique<ModeT>(std::forward<Args>(args)...));
    }
    // The adapter (back) under a new device path, mapped to COM7, with a fresh terminal when
    // `next` is given; the operator connects from the tool bar.
    void plugIn(std::unique_ptr<ModeT> next = nullptr) {
        simulator.reset();
        if (next) mode = std::move(next);
        simulator = std::make_unique<sim::Simulator>(*mode);
        const std::string path = simulator->createPty();
        ASSERT_FALSE(path.empty());
        simulator->start();
        connectTo(path);
    }
    ~SimFixture() override {
        if (simulator) simulator->stop();
    }

    // An update file of `payloadBytes` opened, which enables BUpgrade.
    void loadImage(std::size_t payloadBytes) {
        image = sim::makeImage(pattern(payloadBytes));
        open("fw.enc", sim::hexText(image));
        ASSERT_TRUE(form1->BUpgrade->isEnabled());
    }
    // BUpgrade and the 5-second settle tick: the link reopens and the first record goes out.
    void beginUpload() {
        form1->BUpgradeClick();
        // The terminal is read for the records first; the simulated bootloader answers no settings,
        // so the read runs out and the operator goes on (messages.answer) without a snapshot.
        if (compareTimer->enabled()) {
            ASSERT_TRUE(compareTimer->fire());
        }
        ASSERT_TRUE(pumpUntil([&] { return form1->uploadLocked(); }));
        EXPECT_FALSE(form1->BUpgrade->isEnabled());
        EXPECT_EQ(timer1->interval(), 5000);
        ASSERT_TRUE(pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
        ASSERT_TRUE(timer1->fire());
    }
    // The records until the upload ends, and the 1-ms wind-up that closes the link.
    void finishUpload() {
        ASSERT_TRUE(pumpUntil([&] { return !form1->uploadRunning(); }, 30s));
        ASSERT_EQ(timer1->interval(), 1);
        ASSERT_TRUE(timer1->fire());
        ASSERT_TRUE(pumpUntil([&] { return !form2->CommPort1->IsEnabled(); }));
        EXPECT_TRUE(form1->BUpgrade->isEnabled());
        EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
    }

    std::unique_ptr<ModeT> mode;
    std::unique_ptr<sim::Simulator> simulator;
    std::vector<std::uint8_t> image;
};

}  // namespace apptest
