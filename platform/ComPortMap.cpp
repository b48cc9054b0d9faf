#include "platform/ComPortMap.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/FileTarget.h"
#include "platform/InputFile.h"

namespace platform {
namespace {

const char* const kMapEnv = "VIGIL_COMPORT_MAP";
const char* const kMapRelative = "vigil/comports";

std::string readFirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::vector<std::string> listDir(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string resolve(const std::string& path) {
    char buf[4096];
    if (::realpath(path.c_str(), buf)) return buf;
    return path;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

void makeParents(const std::string& file) {
    for (std::size_t i = 1; (i = file.find('/', i)) != std::string::npos; ++i)
        ::mkdir(file.substr(0, i).c_str(), 0755);
}

// "COM<n>=<path>" -> n and path; anything else is ignored.
bool parse(const std::string& raw, int& number, std::string& path) {
    std::string line = raw.substr(0, raw.find('#'));
    const auto eq = line.find('=');
    if (eq == std::string::npos || line.compare(0, 3, "COM") != 0) return false;
    const std::string num = line.substr(3, eq - 3);
    if (num.empty() || !std::all_of(num.begin(), num.end(), ::isdigit) || num.size() > 6)
        return false;
    number = std::stoi(num);
    path = line.substr(eq + 1);
    while (!path.empty() && (path.back() == ' ' || path.back() == '\r' || path.back() == '\t'))
        path.pop_back();
    return number > 0 && !path.empty();
}

}  // namespace

std::string ComPortMap::defaultFile() {
    if (const char* env = std::getenv(kMapEnv); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/" + kMapRelative;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/" + kMapRelative;
}

ComPortMap::ComPortMap(std::string file, std::string sysRoot)
    : file_(std::move(file)), sysRoot_(std::move(sysRoot)) {}

int ComPortMap::nextFree(const std::vector<Line>& lines) {
    std::set<int> used;
    for (const auto& l : lines) used.insert(l.number);
    int n = 1;
    while (used.count(n)) ++n;
    return n;
}

std::vector<ComPortMap::Line> ComPortMap::load() const {
    std::vector<Line> lines;
    std::istringstream in(readInputFile(file_, kMaxSettingsFileBytes).bytes);
    std::string raw;
    while (std::getline(in, raw)) {
        Line l;
        if (parse(raw, l.number, l.path)) lines.push_back(std::move(l));
    }
    return lines;
}

bool ComPortMap::save(const std::vector<Line>& lines) const {
    // Written aside and renamed, so an interrupted save never leaves half a map; a link is
    // followed and a device is never replaced (platform/FileTarget.h).
    const FileTarget target = writableTarget(file_);
    if (!target.error.empty()) return false;
    // A map that is there but could not be read (too large, no right to read it) was loaded as
    // empty; saving over it would drop every mapping in it.
    if (const InputFile now = readInputFile(file_, kMaxSettingsFileBytes);
        now.status != InputStatus::Read &&
        !(now.status == InputStatus::CannotOpen && now.error == ENOENT))
        return false;
    makeParents(target.path);
    std::string text =
        "# COM port map of the Vigil configurator: COM<n>=<device>. May be edited.\n";
    for (const auto& l : lines) text += "COM" + std::to_string(l.number) + '=' + l.path + '\n';
    return writeFileAtomically(file_, text).empty();
}

// Real serial devices, each under its most stable name.
std::vector<std::string> ComPortMap::scan() const {
    const std::string classDir = sysRoot_ + "/sys/class/tty";
    const std::string byId = sysRoot_ + "/dev/serial/by-id";
    std::vector<std::pair<std::string, std::string>> stable;  // resolved target -> by-id path
    for (const auto& n : listDir(byId))
        stable.emplace_back(resolve(byId + "/" + n), byId + "/" + n);

    std::vector<std::string> found;
    for (const auto& name : listDir(classDir)) {
        if (!exists(classDir + "/" + name + "/device")) continue;
        // ttyS nodes exist without a UART behind them; those report type 0.
        if (name.rfind("ttyS", 0) == 0 && readFirstLine(classDir + "/" + name + "/type") == "0")
            continue;
        const std::string node = sysRoot_ + "/dev/" + name;
        std::string path = node;
        const std::string target = resolve(node);
        for (const auto& [t, link] : stable)
            if (t == target) path = link;
        found.push_back(path);
    }
    return found;
}

std::string ComPortMap::describe(const std::string& devicePath) const {
    std::string name = resolve(devicePath);
    name = name.substr(name.find_last_of('/') + 1);
    const std::string dev = sysRoot_ + "/sys/class/tty/" + name + "/device";
    // A USB adapter's product name sits one or two levels above the tty's interface.
    for (const char* up : {"/../product", "/../../product", "/product"}) {
        const std::string p = readFirstLine(dev + up);
        if (!p.empty()) return p;
    }
    return {};
}

std::vector<ComPortEntry> ComPortMap::listPorts() {
    std::vector<Line> lines = load();
    bool grew = false;
    for (const auto& path : scan()) {
        const std::string target = resolve(path);
        const bool known = std::any_of(lines.begin(), lines.end(), [&](const Line& l) {
            return l.path == path || resolve(l.path) == target;
        });
        if (known) continue;
        lines.push_back({nextFree(lines), path});
        grew = true;
    }
    if (grew) save(lines);
    std::vector<ComPortEntry> entries;
    for (const auto& l : lines)
        entries.push_back({l.number, "COM" + std::to_string(l.number), l.path, describe(l.path),
                           ::access(l.path.c_str(), F_OK) == 0});
    return entries;
}

std::string ComPortMap::devicePathFor(int comNumber) const {
    for (const auto& l : load())
        if (l.number == comNumber) return l.path;
    return {};
}

int ComPortMap::addMapping(const std::string& devicePath, int comNumber) {
    std::vector<Line> lines = load();
    if (comNumber <= 0) comNumber = nextFree(lines);
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [&](const Line& l) { return l.number == comNumber; }),
                lines.end());
    lines.push_back({comNumber, devicePath});
    return save(lines) ? comNumber : 0;
}

std::string portListText(const ComPortEntry& entry) {
    std::string device = entry.present ? resolve(entry.devicePath) : entry.devicePath;
    for (const char* prefix : {"/dev/serial/by-id/", "/dev/"})
        if (device.rfind(prefix, 0) == 0) {
            device.erase(0, std::string(prefix).size());
            break;
        }
    std::string text = entry.name + " — " + device;
    if (!entry.present) return text + platform::translated("ComPortMap", " (не подключён)");
    if (!entry.description.empty()) text += ", " + entry.description;
    return text;
}

std::vector<ComPortEntry> listPorts() {
    return ComPortMap().listPorts();
}

std::string devicePathFor(int comNumber) {
    return ComPortMap().devicePathFor(comNumber);
}

std::string adapterText(int comNumber) {
    static constexpr std::string_view kDash = " — ";
    std::string adapter = devicePathFor(comNumber);
    for (const ComPortEntry& entry : listPorts()) {
        const std::string text = portListText(entry);
        if (entry.number == comNumber && text.find(kDash) != std::string::npos)
            adapter = text.substr(text.find(kDash) + kDash.size());
    }
    return adapter;
}

}  // namespace platform
