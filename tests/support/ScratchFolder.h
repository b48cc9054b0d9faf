#pragma once
// A folder of the test's own under /tmp, removed with everything in it when the test ends.
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace testsupport {

class ScratchFolder {
  public:
    ScratchFolder() {
        char dir[] = "/tmp/vigil-test-XXXXXX";
        if (!::mkdtemp(dir)) throw std::runtime_error("mkdtemp");
        dir_ = dir;
    }
    ~ScratchFolder() { std::filesystem::remove_all(dir_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& folder() const { return dir_; }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    void writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    std::string dir_;
};

}  // namespace testsupport
