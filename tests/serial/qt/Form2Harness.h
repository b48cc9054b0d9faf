#pragma once
// Shared by the port window's tests: the offscreen application with the Qt main-thread hook,
// recorded message boxes, a registry file and a COM port map of the test's own (with an empty
// system tree behind it), and pty pairs standing in for a terminal on a COM number.
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
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/RecordingMessageService.h"
#include "platform/qt/QtMainThread.h"
#include "serial/Unit2.h"

namespace form2test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs the event loop, and with it the component's deliveries, until `done` holds; false when
// the liveness bound passed first.
inline bool processUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms) {
    QElapsedTimer clock;
    clock.start();
    for (; !done(); std::this_thread::sleep_for(2ms)) {
        if (clock.elapsed() > limit.count()) return false;
        QApplication::processEvents();
    }
    return true;
}

// The test talks through the master; the window opens the slave as its COM port.
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
    // What the window sent, once `count` bytes are there.
    std::string receive(std::size_t count) const {
        std::string got;
        processUntil([&] {
            pollfd p{master, POLLIN, 0};
            char buf[256];
            if (::poll(&p, 1, 0) == 1 && (p.revents & POLLIN))
                if (const ssize_t n = ::read(master, buf, sizeof buf); n > 0) got.append(buf, static_cast<std::size_t>(n));
            return got.size() >= count;
        });
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
        platform::installQtMainThreadHook();
        char name[] = "/tmp/vigil-form2-XXXXXX";
        dir = ::mkdtemp(name);
        ::setenv("VIGIL_REGISTRY", registryFile().c_str(), 1);
        ::setenv("VIGIL_COMPORT_MAP", mapFile().c_str(), 1);
        fs::create_directories(dir / "sys");
        TForm2::SetPortLister([this] { return platform::ComPortMap(mapFile(), (dir / "sys").string()).listPorts(); });
    }
    void TearDown() override {
        form.reset();
        TForm2::SetPortLister({});
        fs::remove_all(dir);
    }

    std::string registryFile() const { return (dir / "registry.reg").string(); }
    std::string mapFile() const { return (dir / "comports").string(); }
    std::string registryText() const {
        std::stringstream s;
        s << std::ifstream(registryFile()).rdbuf();
        return s.str();
    }
    void storeSettings(const std::string& lines) const {
        std::ofstream(registryFile()) << "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n" << lines;
    }
    static std::string storedDefaults(int comNum) {
        char number[9];
        std::snprintf(number, sizeof number, "%08x", static_cast<unsigned>(comNum));
        return "\"ComBaud\"=dword:00000006\n\"ComNum\"=dword:" + std::string(number) +
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

    int argc = 1;
    char name[13] = "Config_Vigil";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    fs::path dir;
    platform::RecordingMessageService messages;
    std::unique_ptr<TForm2> form;
};

}  // namespace form2test
