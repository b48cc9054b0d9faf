#pragma once
// Read access to a compiled HTML help file (.chm) through chmlib: its pages and pictures by
// path, its default topic and contents file, and the topic its context map gives a number.
// Paths inside the file start with "/". Available only when chmlib was found.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct chmFile;

namespace platform {

class ChmFile {
  public:
    // Null when the file cannot be opened as a help file.
    static std::unique_ptr<ChmFile> open(const std::string& path);
    ~ChmFile();

    bool contains(const std::string& object) const;
    std::optional<std::vector<std::uint8_t>> read(const std::string& object) const;

    std::string title() const { return title_; }
    std::string defaultTopic() const { return defaultTopic_; }  // "" when none
    std::string contentsFile() const { return contentsFile_; }  // "" when none
    // The topic the file's context map gives the number, as a path inside the file; "" when the
    // map has no such number or its topic is not in the file.
    std::string topicForContext(std::uint32_t context) const;

    // A path as a compiler may have stored it (relative, or absolute on the machine that built
    // the file), turned into the path of an object in the file; "" when none matches.
    std::string locate(const std::string& stored) const;

  private:
    explicit ChmFile(chmFile* handle) : handle_(handle) {}
    void readSystem();

    chmFile* handle_;
    std::string title_;
    std::string defaultTopic_;
    std::string contentsFile_;
};

}  // namespace platform
