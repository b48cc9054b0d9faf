#pragma once
// What /proc tells about other processes: which of them hold a device open, and whether a program
// of a given name runs. Processes whose /proc entries cannot be read (another user's, without
// privileges) are skipped silently.
#include <string>
#include <vector>

namespace platform {

struct ProcessInfo {
    int pid = 0;
    std::string name;  // as /proc/<pid>/comm gives it
};

class ProcessTable {
  public:
    explicit ProcessTable(std::string procRoot = "/proc") : proc_(std::move(procRoot)) {}

    // Processes other than this one with an open descriptor on the character device at `path`.
    std::vector<ProcessInfo> holdersOf(const std::string& path) const;
    // Processes other than this one holding a whole-file lock (flock) on the file at `path`, as
    // /proc/locks lists them.
    std::vector<ProcessInfo> lockHoldersOf(const std::string& path) const;
    // The first process called `name`, or pid 0.
    ProcessInfo find(const std::string& name) const;
    // The name of process `pid`, or empty when it does not run.
    std::string nameOf(int pid) const;

  private:
    std::vector<int> pids() const;
    std::string proc_;
};

}  // namespace platform
