#include "platform/qt/ChmFile.h"

#ifdef VIGIL_HAVE_CHMLIB
#include <chm_lib.h>

#include <algorithm>

namespace platform {
namespace {

// Internal files of the format: the settings record list and the context map with its strings.
constexpr const char* kSystemObject = "/#SYSTEM";
constexpr const char* kContextMapObject = "/#IVB";
constexpr const char* kStringsObject = "/#STRINGS";
// Record codes in the settings list.
constexpr std::uint16_t kContentsFileCode = 0;
constexpr std::uint16_t kDefaultTopicCode = 2;
constexpr std::uint16_t kTitleCode = 3;
// No page or picture of a help file comes near this; a larger length means a damaged file.
constexpr std::uint64_t kMaxObjectBytes = 64ull << 20;

std::uint32_t littleEndian(const std::vector<std::uint8_t>& data, std::size_t at,
                           std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= std::uint32_t{data[at + i]} << (8 * i);
    return value;
}

// A zero-terminated string inside a record, bounded by the record's end.
std::string stringAt(const std::vector<std::uint8_t>& data, std::size_t at, std::size_t end) {
    std::string text;
    for (std::size_t i = at; i < end && i < data.size() && data[i] != 0; ++i)
        text += static_cast<char>(data[i]);
    return text;
}

std::string asObjectPath(const std::string& name) {
    return !name.empty() && name.front() == '/' ? name : "/" + name;
}

}  // namespace

std::unique_ptr<ChmFile> ChmFile::open(const std::string& path) {
    chmFile* handle = chm_open(path.c_str());
    if (handle == nullptr) return nullptr;
    std::unique_ptr<ChmFile> file(new ChmFile(handle));
    file->readSystem();
    return file;
}

ChmFile::~ChmFile() {
    chm_close(handle_);
}

bool ChmFile::contains(const std::string& object) const {
    chmUnitInfo info;
    return chm_resolve_object(handle_, object.c_str(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> ChmFile::read(const std::string& object) const {
    chmUnitInfo info;
    if (chm_resolve_object(handle_, object.c_str(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > kMaxObjectBytes) return std::nullopt;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(info.length));
    if (data.empty()) return data;
    const LONGINT64 got =
        chm_retrieve_object(handle_, &info, data.data(), 0, static_cast<LONGINT64>(info.length));
    if (got <= 0) return std::nullopt;
    data.resize(static_cast<std::size_t>(got));
    return data;
}

void ChmFile::readSystem() {
    const auto system = read(kSystemObject);
    if (!system) return;
    const auto& data = *system;
    std::size_t at = 4;  // after the format version
    while (at + 4 <= data.size()) {
        const auto code = static_cast<std::uint16_t>(littleEndian(data, at, 2));
        const std::size_t length = littleEndian(data, at + 2, 2);
        const std::size_t begin = at + 4;
        const std::size_t end = begin + length;
        if (end > data.size()) break;
        if (code == kContentsFileCode) contentsFile_ = asObjectPath(stringAt(data, begin, end));
        if (code == kDefaultTopicCode) defaultTopic_ = asObjectPath(stringAt(data, begin, end));
        if (code == kTitleCode) title_ = stringAt(data, begin, end);
        at = end;
    }
    if (!contains(contentsFile_)) contentsFile_.clear();
    if (!contains(defaultTopic_)) defaultTopic_.clear();
}

std::string ChmFile::locate(const std::string& stored) const {
    std::string path = stored;
    for (char& c : path)
        if (c == '\\') c = '/';
    // Drop leading folders until what is left names an object of the file.
    while (!path.empty()) {
        const std::string candidate = asObjectPath(path);
        if (contains(candidate)) return candidate;
        const std::size_t slash = path.find('/', 1);
        if (slash == std::string::npos) break;
        path.erase(0, slash);
    }
    return {};
}

std::string ChmFile::topicForContext(std::uint32_t context) const {
    const auto map = read(kContextMapObject);
    const auto strings = read(kStringsObject);
    if (!map || !strings || map->size() < 4) return {};
    const std::size_t end = std::min<std::size_t>(map->size(), 4 + littleEndian(*map, 0, 4));
    for (std::size_t at = 4; at + 8 <= end; at += 8) {
        if (littleEndian(*map, at, 4) != context) continue;
        const std::size_t offset = littleEndian(*map, at + 4, 4);
        return locate(stringAt(*strings, offset, strings->size()));
    }
    return {};
}

}  // namespace platform

#else

namespace platform {

std::unique_ptr<ChmFile> ChmFile::open(const std::string&) {
    return nullptr;
}
ChmFile::~ChmFile() = default;
bool ChmFile::contains(const std::string&) const {
    return false;
}
std::optional<std::vector<std::uint8_t>> ChmFile::read(const std::string&) const {
    return std::nullopt;
}
void ChmFile::readSystem() {}
std::string ChmFile::locate(const std::string&) const {
    return {};
}
std::string ChmFile::topicForContext(std::uint32_t) const {
    return {};
}

}  // namespace platform

#endif
