#pragma once
// Shared by the window benchmarks: resident memory, and a private folder for the registry store
// and the COM port map so a run touches nothing of the user's.
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace benchsupport {

inline long residentKiB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

class PrivateFiles {
  public:
    explicit PrivateFiles(const char* name)
        : folder_(std::filesystem::temp_directory_path() /
                  (std::string(name) + "-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(folder_);
        ::setenv("VIGIL_REGISTRY", (folder_ / "registry.reg").c_str(), 1);
        ::setenv("VIGIL_COMPORT_MAP", comPortMap().c_str(), 1);
    }
    ~PrivateFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string comPortMap() const { return (folder_ / "comports").string(); }

  private:
    std::filesystem::path folder_;
};

}  // namespace benchsupport
