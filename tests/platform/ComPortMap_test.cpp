// The COM port map: file format, sysfs scan with stable names, persistence of numbers.
#include "platform/ComPortMap.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/PtyPair.h"

namespace fs = std::filesystem;
using platform::ComPortMap;

namespace {

class MapTest : public ::testing::Test {
  protected:
    ~MapTest() override { fs::remove_all(root); }

    // A tty in the fake sysfs; `withDevice` gives it the device link of a real port.
    void addTty(const std::string& name, bool withDevice, const std::string& type = "",
                const std::string& product = "") {
        const std::string cls = root + "/sys/class/tty/" + name,
                          dev = root + "/sys/devices/usb1/" + name;
        fs::create_directories(cls);
        fs::create_directories(dev + "/intf");
        if (withDevice) fs::create_symlink(dev + "/intf", cls + "/device");
        if (!product.empty()) std::ofstream(dev + "/product") << product << "\n";
        if (!type.empty()) std::ofstream(cls + "/type") << type << "\n";
        fs::create_directories(root + "/dev/serial/by-id");
        std::ofstream(root + "/dev/" + name);
    }
    std::string read() const {
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string root = [] {
        char dir[] = "/tmp/vigil-maptest-XXXXXX";
        return std::string(::mkdtemp(dir));
    }();
    std::string file = root + "/config/vigil/comports";
};

TEST_F(MapTest, ScanSkipsPhantomUartsPrefersStableNamesAndKeepsNumbersOfUnpluggedDevices) {
    addTty("ttyS0", true, "0");  // no UART behind the node
    addTty("ttyS1", true, "4");
    addTty("ttyUSB0", true, "", "FT232R USB UART");
    addTty("tty1", false);  // a console, no device link
    fs::create_symlink(root + "/dev/ttyUSB0",
                       root + "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    ComPortMap map(file, root);
    auto ports = map.listPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].name, "COM1");
    EXPECT_EQ(ports[0].devicePath, root + "/dev/ttyS1");
    EXPECT_EQ(ports[1].number, 2);
    EXPECT_EQ(ports[1].devicePath, root + "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(ports[1].description, "FT232R USB UART");
    EXPECT_EQ(map.devicePathFor(3), "");

    fs::remove_all(root + "/sys/class/tty/ttyUSB0");  // unplugged
    addTty("ttyACM0", true);
    ports = map.listPorts();
    ASSERT_EQ(ports.size(), 3u) << "the absent device keeps its number";
    EXPECT_EQ(ports[1].devicePath, root + "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(ports[2].number, 3);
    EXPECT_EQ(ports[2].devicePath, root + "/dev/ttyACM0");
    EXPECT_EQ(map.listPorts().size(), 3u) << "listing again adds nothing";
}

TEST_F(MapTest, AUserEditedFileIsReadAsWrittenAndMappingsReplaceOrTakeTheNextFreeNumber) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file)
        << "# mine\nCOM12=/dev/ttyUSB7\ngarbage\nCOM=/x\nCOM3=/dev/pts/9  # pty\n\n";
    ComPortMap map(file, root);
    const auto ports = map.listPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].name, "COM12");
    EXPECT_EQ(map.devicePathFor(3), "/dev/pts/9");
    EXPECT_EQ(map.addMapping("/dev/pts/3", 5), 5);
    EXPECT_EQ(map.addMapping("/dev/pts/4"), 1) << "the lowest free number";
    EXPECT_EQ(map.addMapping("/dev/pts/8", 5), 5);
    EXPECT_EQ(map.devicePathFor(5), "/dev/pts/8");
    EXPECT_NE(read().find("COM1=/dev/pts/4\n"), std::string::npos) << read();
    EXPECT_EQ(read().find("/dev/pts/3"), std::string::npos);
}

// A map that cannot be read is neither waited on nor replaced by one that lost its mappings;
// a link is followed to its file.
TEST_F(MapTest, AMapThatIsNoFileOrTooLargeIsLeftAloneAndALinkIsFollowed) {
    fs::create_directories(fs::path(file).parent_path());
    addTty("ttyUSB0", true);
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    EXPECT_EQ(ComPortMap(file, root).addMapping("/dev/pts/4"), 0);
    EXPECT_TRUE(fs::is_fifo(file));
    fs::remove(file);
    std::ofstream(file) << "COM7=/dev/ttyS7\n" << std::string(2 << 20, '#');
    ComPortMap(file, root).listPorts();
    EXPECT_EQ(fs::file_size(file), 16u + (2u << 20));

    const std::string real = root + "/real-map";
    fs::remove(file);
    fs::create_symlink(real, file);
    EXPECT_EQ(ComPortMap(file, root).addMapping("/dev/pts/4"), 1);
    EXPECT_TRUE(fs::is_symlink(file));
    std::ifstream in(real);
    EXPECT_NE(std::string(std::istreambuf_iterator<char>(in), {}).find("COM1=/dev/pts/4"),
              std::string::npos);
}

TEST_F(MapTest, TheEnvironmentChoosesTheFile) {
    {
        testsupport::ComPortMapFile mapFile;
        EXPECT_EQ(ComPortMap::defaultFile(), mapFile.path());
        mapFile.map("/dev/pts/1", 4);
        EXPECT_EQ(platform::devicePathFor(4), "/dev/pts/1");
        // The records name the adapter as the list shows it after the port.
        const testsupport::PtyPair pty;
        mapFile.map(pty.slavePath(), 6);
        EXPECT_EQ(platform::adapterText(6), pty.slavePath().substr(std::string("/dev/").size()));
        EXPECT_EQ(platform::adapterText(7), "");
    }
    if (std::getenv("VIGIL_COMPORT_MAP")) return;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = xdg ? xdg : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(ComPortMap::defaultFile(), "/cfg/vigil/comports");
    if (xdg)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
