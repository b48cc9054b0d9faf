#pragma once
// What the port window's tests share: the offscreen application with the Qt main-thread hook,
// recorded message boxes, a registry file and a COM port map of the test's own, and pty pairs that
// stand in for a terminal on a COM number.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

#include "platform/ComPortMap.h"
#include "platform/RecordingMessageService.h"
#include "platform/qt/QtMainThread.h"
#include "serial/Unit2.h"

namespace form2test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "Config_Vigil";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// Runs the event loop (which also runs the component's deliveries) until `done` holds; false
// when `limit` passed first. The limit is a liveness bound only.
inline bool processUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limit.count()) return false;
        QApplication::processEvents(QEventLoop::AllEvents);
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

inline void processFor(std::chrono::milliseconds span) {
    processUntil([] { return false; }, span);
}

inline std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// One end is the "COM port" the window opens; the test talks through the other.
struct PtyPair {
    int master = -1;
    std::string slavePath;

    PtyPair() {
        int slave = -1;
        char name[128];
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty");
        slavePath = name;
        ::close(slave);
    }
    ~PtyPair() { unplug(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    void send(const std::string& bytes) const {
        ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the window sent, once `count` bytes are there (or the bound passed).
    std::string receive(std::size_t count) const {
        std::string got;
        QElapsedTimer clock;
        clock.start();
        while (got.size() < count && clock.elapsed() < 5000) {
            QApplication::processEvents();
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 10) == 1 && (p.revents & POLLIN)) {
                char buf[256];
                const ssize_t n = ::read(master, buf, sizeof buf);
                if (n > 0) got.append(buf, static_cast<std::size_t>(n));
            }
        }
        return got;
    }
    // The adapter is pulled out: the port's side hangs up.
    void unplug() {
        if (master >= 0) ::close(master);
        master = -1;
    }
};

class Form2Test : public ::testing::Test {
protected:
    void SetUp() override {
        application();
        platform::installQtMainThreadHook();
        char name[] = "/tmp/vigil-form2-XXXXXX";
        dir = ::mkdtemp(name);
        ::setenv("VIGIL_REGISTRY", registryFile().c_str(), 1);
        ::setenv("VIGIL_COMPORT_MAP", mapFile().c_str(), 1);
        // Only the ports the test maps: an empty system tree behind the map.
        fs::create_directories(dir / "sys");
        TForm2::SetPortLister([this] { return platform::ComPortMap(mapFile(), (dir / "sys").string()).listPorts(); });
    }
    void TearDown() override {
        form.reset();
        TForm2::SetPortLister({});
        fs::remove_all(dir);
        ::unsetenv("VIGIL_REGISTRY");
        ::unsetenv("VIGIL_COMPORT_MAP");
    }

    std::string registryFile() const { return (dir / "registry.reg").string(); }
    std::string mapFile() const { return (dir / "comports").string(); }

    // The settings key with the given value lines.
    void storeSettings(const std::string& lines) const {
        std::ofstream(registryFile()) << "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n" << lines;
    }
    static std::string storedDefaults(int comNum) {
        return "\"ComBaud\"=dword:00000006\n\"ComNum\"=dword:0000000" + std::to_string(comNum) +
               "\n\"StopBits\"=dword:00000000\n\"Control\"=dword:00000000\n"
               "\"DataBit\"=dword:00000003\n\"Parity\"=dword:00000000\n";
    }
    void mapPort(int number, const std::string& device) const {
        ASSERT_EQ(platform::ComPortMap(mapFile()).addMapping(device, number), number);
    }
    TForm2& createForm() {
        form = std::make_unique<TForm2>();
        return *form;
    }

    fs::path dir;
    platform::RecordingMessageService messages;
    std::unique_ptr<TForm2> form;
};

}  // namespace form2test
