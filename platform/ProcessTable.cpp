#include "platform/ProcessTable.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace platform {

std::vector<int> ProcessTable::pids() const {
    std::vector<int> result;
    DIR* d = ::opendir(proc_.c_str());
    if (!d) return result;
    while (dirent* e = ::readdir(d)) {
        const std::string n = e->d_name;
        if (n.empty() || n.size() > 9 || !std::all_of(n.begin(), n.end(), ::isdigit)) continue;
        result.push_back(std::stoi(n));
    }
    ::closedir(d);
    return result;
}

std::string ProcessTable::nameOf(int pid) const {
    if (pid <= 0) return {};
    std::ifstream in(proc_ + "/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

ProcessInfo ProcessTable::find(const std::string& name) const {
    for (int pid : pids())
        if (nameOf(pid) == name) return {pid, name};
    return {};
}

std::vector<ProcessInfo> ProcessTable::holdersOf(const std::string& path) const {
    std::vector<ProcessInfo> holders;
    struct stat dev {};
    if (::stat(path.c_str(), &dev) != 0 || !S_ISCHR(dev.st_mode)) return holders;
    const int self = static_cast<int>(::getpid());
    for (int pid : pids()) {
        if (pid == self) continue;
        const std::string fdDir = proc_ + "/" + std::to_string(pid) + "/fd";
        DIR* d = ::opendir(fdDir.c_str());
        if (!d) continue;
        bool holds = false;
        while (dirent* e = ::readdir(d)) {
            struct stat st {};
            // stat follows the descriptor's link to the open file itself, whatever its name.
            if (e->d_name[0] != '.' && ::stat((fdDir + "/" + e->d_name).c_str(), &st) == 0 &&
                S_ISCHR(st.st_mode) && st.st_rdev == dev.st_rdev) {
                holds = true;
                break;
            }
        }
        ::closedir(d);
        if (holds) holders.push_back({pid, nameOf(pid)});
    }
    return holders;
}

std::vector<ProcessInfo> ProcessTable::lockHoldersOf(const std::string& path) const {
    std::vector<ProcessInfo> holders;
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0) return holders;
    // "1: FLOCK  ADVISORY  WRITE 4711 08:02:1234 0 EOF": the device in hex, the inode in decimal.
    char id[64];
    std::snprintf(id, sizeof id, "%02x:%02x:%llu", major(file.st_dev), minor(file.st_dev),
                  static_cast<unsigned long long>(file.st_ino));
    std::ifstream in(proc_ + "/locks");
    const int self = static_cast<int>(::getpid());
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, inode;
        int pid = 0;
        if (!(fields >> number >> kind >> mode >> access >> pid >> inode)) continue;
        if (kind == "FLOCK" && inode == id && pid != self) holders.push_back({pid, nameOf(pid)});
    }
    return holders;
}

}  // namespace platform
