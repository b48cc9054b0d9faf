#pragma once
// Shared by the port window's tests: the offscreen application with the Qt main-thread hook,
// recorded message boxes, and a registry file and COM port map of the test's own (with an empty
// system tree behind it).
#include <gtest/gtest.h>

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
#include "support/PtyPair.h"

namespace form2test {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::PtyPair;

// Runs the event loop until `done` holds; false when the liveness bound passed first.
inline bool processUntil(const std::function<bool()>& done,
                         std::chrono::milliseconds limit = 5000ms) {
    QElapsedTimer clock;
    clock.start();
    for (; !done(); std::this_thread::sleep_for(2ms)) {
        if (clock.elapsed() > limit.count()) return false;
        QApplication::processEvents();
    }
    return true;
}

inline QString itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items.join(u'|');
}

// The port name an item starts with ("COM3" of "COM3 — ttyUSB0, FT232R USB UART").
inline QString portOf(const QString& item) {
    return item.section(QString::fromUtf8(" — "), 0, 0);
}

inline QString portsOf(const QComboBox* box) {
    QStringList ports;
    for (int i = 0; i < box->count(); ++i) ports << portOf(box->itemText(i));
    return ports.join(u'|');
}

class Form2Test : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::installQtMainThreadHook();
        char name[] = "/tmp/vigil-form2-XXXXXX";
        dir = ::mkdtemp(name);
        ::setenv("VIGIL_REGISTRY", registryFile().c_str(), 1);
        ::setenv("VIGIL_COMPORT_MAP", mapFile().c_str(), 1);
        fs::create_directories(dir / "sys");
        TForm2::SetPortLister(
            [this] { return platform::ComPortMap(mapFile(), (dir / "sys").string()).listPorts(); });
    }
    void TearDown() override {
        form.reset();
        TForm2::SetPortLister({});
        fs::remove_all(dir);
    }

    std::string registryFile() const { return (dir / "registry.reg").string(); }
    std::string mapFile() const { return (dir / "comports").string(); }
    std::string registryText(const std::string& suffix = "") const {
        std::stringstream s;
        s << std::ifstream(registryFile() + suffix).rdbuf();
        return s.str();
    }
    void storeSettings(const std::string& lines) const {
        std::ofstream(registryFile()) << kKey << lines;
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

    static constexpr const char* kKey =
        "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n";
    int argc = 1;
    char name[13] = "Config_Vigil";
    char* argv[2] = {name, nullptr};
    QApplication app{argc, argv};
    fs::path dir;
    platform::RecordingMessageService messages;
    std::unique_ptr<TForm2> form;
};

}  // namespace form2test
