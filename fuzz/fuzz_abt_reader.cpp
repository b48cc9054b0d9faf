// File -> Open of an .abt file with arbitrary content, through the load the window runs (a file of
// any length; one longer than the transmit buffer is refused) and the reader table. Whatever the
// reader takes from a file must save and read back to the same values.
// fuzz-flags: -max_len=6000 -dict=fuzz/keys.dict
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "files/AbtFile.h"
#include "files/SaveFiles.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/WindowTexts.h"
#include "support/MapControls.h"

namespace {

// One in-memory file for the whole run, opened by name like any chosen file.
const std::string& fileWith(const std::uint8_t* data, std::size_t size) {
    static const int fd = ::memfd_create("fuzz.abt", MFD_CLOEXEC);
    static const std::string path = "/proc/self/fd/" + std::to_string(fd);
    fuzz::require(fd >= 0 && ::ftruncate(fd, 0) == 0, "the in-memory file can be emptied");
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        fuzz::require(n > 0, "the in-memory file can be written");
        done += static_cast<std::size_t>(n);
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::abortOnTestFailure();
    protocol::TransmitBuffer buffer;
    const files::LoadResult loaded = files::loadIntoBuffer(fileWith(data, size), buffer);
    if (size > protocol::TransmitBuffer::kCapacity) {
        fuzz::require(loaded.status == files::LoadStatus::TooLong && !loaded.message.empty(),
                      "a file longer than the buffer is refused with a message");
        fuzz::require(buffer.length() == 0, "a refused file leaves the buffer untouched");
        return 0;
    }
    fuzz::require(loaded.status == files::LoadStatus::Loaded && buffer.length() == size &&
                      (size == 0 || std::memcmp(buffer.data(), data, size) == 0),
                  "a file that fits is loaded byte for byte");

    // Read from an exactly sized copy, so that a read past the count is caught.
    const std::vector<std::uint8_t> file(buffer.data(), buffer.data() + size);
    test::MapControls opened;
    files::readAbt(file.data(), buffer.length(), opened);
    fuzz::holdAsTheWindowDoes(opened);

    protocol::TransmitBuffer saved;
    const protocol::ComposeResult composed = files::composeAbt(opened, saved);
    if (!composed.ok) {
        fuzz::require(saved.length() == 0 && !composed.message.empty(),
                      "a refused save leaves an empty buffer and says why");
        return 0;
    }
    test::MapControls reopened;
    files::readAbt(saved.data(), saved.length(), reopened);
    for (const protocol::Parameter* p : protocol::kFileItems) {
        const std::string before = opened.value(*p), after = reopened.value(*p);
        if (before != after) {
            std::fprintf(stderr, "%.*s: read %s, read back %s\n",
                         static_cast<int>(p->control.size()), p->control.data(), before.c_str(),
                         after.c_str());
            fuzz::fail("a saved file reads back to the values it was saved from");
        }
    }
    return 0;
}
