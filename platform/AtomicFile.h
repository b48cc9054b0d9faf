#pragma once
// Replacing a file without ever leaving it truncated: the new content goes to a temporary file
// in the same folder, is flushed to disk, and is renamed over the target; then the folder is
// flushed. Until commit() nothing visible changes; a PendingFile not committed removes its
// temporary file. The target follows the rule of platform/FileTarget.h: a link is followed to the
// file it names, and anything but a regular file is refused, both at prepare() and at commit().
#include <string>
#include <string_view>

namespace platform {

class PendingFile {
  public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile();

    // Writes `bytes` to a temporary file beside `target`. Returns an error message naming the
    // file and the system's reason, or "" on success.
    std::string prepare(const std::string& target, std::string_view bytes);
    // Renames the temporary file over the target; error message or "".
    std::string commit();
    void discard();

  private:
    std::string requested_;  // as the caller named it, for messages
    std::string target_;     // the file replaced (the end of a link chain)
    std::string temporary_;
};

// prepare + commit.
std::string writeFileAtomically(const std::string& target, std::string_view bytes);

// "<what> "<file>": <reason>" with the reason from errno.
std::string fileError(std::string_view what, const std::string& file, int error);

}  // namespace platform
