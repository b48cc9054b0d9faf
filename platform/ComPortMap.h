#pragma once
// The persistent COM port map: which device each "COM<n>" names. It stands in for the system's
// serial device map, so a device keeps its number across replugging and restarts.
//
// The map is a small text file, one "COM<n>=<device path>" per line ('#' starts a comment), kept in
// $XDG_CONFIG_HOME/vigil/comports (default ~/.config/vigil/comports); VIGIL_COMPORT_MAP names
// another file (tests and the simulator map a COM number to a pty this way). The user may edit it.
// Every listing scans sysfs for serial devices (a /sys/class/tty/<name>/device link; ttyS* whose
// "type" is 0 have no UART and are skipped) and gives each one not yet mapped the next free number,
// under its /dev/serial/by-id name where udev made one. Nothing is opened to list ports.
//
// Not thread-safe: used from the main thread (port window, OpenPort) and from tools at start-up.
#include <string>
#include <vector>

namespace platform {

struct ComPortEntry {
    int number = 0;
    std::string name;         // "COM<n>"
    std::string devicePath;   // as mapped
    std::string description;  // product name from sysfs, or empty
    bool present = false;     // the device node is there now
};

class ComPortMap {
  public:
    // The file in use: VIGIL_COMPORT_MAP, else the user's configuration folder.
    static std::string defaultFile();

    // `sysRoot` prefixes /sys and /dev for the scan (tests point it at a fake tree).
    explicit ComPortMap(std::string file = defaultFile(), std::string sysRoot = "");

    // The entries in map order, after adding newly found devices (and saving the map if it grew).
    std::vector<ComPortEntry> listPorts();
    // The device mapped to COM<n>, or empty; reads the file, does not scan.
    std::string devicePathFor(int comNumber) const;
    // Maps `devicePath` to COM<comNumber> (replacing what that number had), or to the next free
    // number when comNumber is 0; saves the map. Returns the number, or 0 when the file cannot be
    // written.
    int addMapping(const std::string& devicePath, int comNumber = 0);

    const std::string& file() const { return file_; }

  private:
    struct Line {
        int number;
        std::string path;
    };
    static int nextFree(const std::vector<Line>& lines);
    std::vector<Line> load() const;
    bool save(const std::vector<Line>& lines) const;
    std::vector<std::string> scan() const;
    std::string describe(const std::string& devicePath) const;

    std::string file_;
    std::string sysRoot_;
};

// How a port is shown in lists: "COM3 — ttyUSB0, FT232R USB UART" (the device as it resolves now,
// without "/dev/", and the product name where there is one), or "COM5 — ttyUSB1 (не подключён)"
// when its device is absent. The port number stays the first number of the text.
std::string portListText(const ComPortEntry& entry);

// The same through a map on the default file.
std::vector<ComPortEntry> listPorts();
std::string devicePathFor(int comNumber);

// The adapter behind COM<n> as the records name it: the list's text after the port
// ("ttyUSB0, FT232R USB UART"), or the mapped device path when the port is not listed.
std::string adapterText(int comNumber);

}  // namespace platform
