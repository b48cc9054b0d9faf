#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/FileTarget.h"
#include "platform/InputFile.h"
#include "platform/MessageService.h"

namespace platform {
namespace {

std::string errnoText() {
    return std::strerror(errno);
}

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool makeFolders(const std::string& folder) {
    if (folder.empty() || folder == "/" || folder == ".") return true;
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (!makeFolders(folderOf(folder))) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

enum class FileState { Missing, Readable, Unreadable };

FileState readWhole(const std::string& path, std::string& content, std::string& error) {
    InputFile file = readInputFile(path, kMaxSettingsFileBytes);
    if (file.status == InputStatus::CannotOpen && file.error == ENOENT) return FileState::Missing;
    if (file.status != InputStatus::Read) {
        error = file.reason;
        return FileState::Unreadable;
    }
    content = std::move(file.bytes);
    return FileState::Readable;
}

// Whether a file exists at `path` and cannot be used as a store (the reason in `error`).
bool isDamaged(const std::string& path, std::string& error) {
    std::string content;
    switch (readWhole(path, content, error)) {
        case FileState::Missing:
            return false;
        case FileState::Unreadable:
            return true;
        case FileState::Readable:
            return !parseRegistry(content, error).has_value();
    }
    return false;
}

std::string damagedCopyName(const std::string& path) {
    std::string name = path + ".damaged";
    for (int n = 1; ::access(name.c_str(), F_OK) == 0; ++n)
        name = path + ".damaged." + std::to_string(n);
    return name;
}

// Each damaged store is reported once per run, before anything can replace it.
void reportDamage(const std::string& path, const std::string& reason) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!reported.insert(path).second) return;
    }
    // A device or FIFO is never replaced (platform/FileTarget.h), so nothing is kept aside either.
    const std::string after =
        !writableTarget(path).error.empty()
            ? platform::translated("RegistryStore", "; сохранить их туда нельзя.")
            : platform::translated("RegistryStore",
                                   "; при сохранении прежний файл останется рядом как ") +
                  damagedCopyName(path) + ".";
    messages().show(
        platform::translated("RegistryStore", "Файл настроек ") + path +
            platform::translated("RegistryStore", " не читается (") + reason +
            platform::translated("RegistryStore", "). Используются настройки по умолчанию") + after,
        "", MessageIcon::Warning, MessageButtons::Ok);
}

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace

std::string registryPath() {
    if (auto p = environment("VIGIL_REGISTRY"); !p.empty()) return p;
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') {
        std::string home = environment("HOME");
        if (home.empty())
            if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
        config = home + "/.config";
    }
    return config + "/vigil/registry.reg";
}

RegistryStore::RegistryStore(std::string path) : path_(std::move(path)) {}

std::optional<RegistryDocument> RegistryStore::read(std::string& error) const {
    std::string content;
    switch (readWhole(path_, content, error)) {
        case FileState::Missing:
            return RegistryDocument{};
        case FileState::Unreadable:
            return std::nullopt;
        case FileState::Readable:
            break;
    }
    return parseRegistry(content, error);
}

RegistryDocument RegistryStore::load() const {
    std::string error;
    auto doc = read(error);
    if (!doc) {
        reportDamage(path_, error);
        return {};
    }
    return *doc;
}

std::optional<RegistryDocument> RegistryStore::loadQuietly() const {
    std::string error;
    return read(error);
}

bool RegistryStore::save(const RegistryDocument& document, std::string& error) const {
    // The store follows the rule of every file written (platform/FileTarget.h).
    const FileTarget target = writableTarget(path_);
    if (!target.error.empty()) {
        error = target.error;
        return false;
    }
    const std::string folder = folderOf(target.path);
    if (!makeFolders(folder)) {
        error = folder + ": " + errnoText();
        return false;
    }
    PendingFile file;
    error = file.prepare(path_, formatRegistry(document));
    if (!error.empty()) return false;
    if (std::string why; isDamaged(target.path, why)) {
        reportDamage(path_, why);
        const std::string copy = damagedCopyName(target.path);
        if (::rename(target.path.c_str(), copy.c_str()) != 0) {
            error = copy + ": " + errnoText();
            return false;
        }
    }
    error = file.commit();
    return error.empty();
}

Registry::Registry(std::string storePath) : store_(std::move(storePath)) {}

bool Registry::openKey(const std::string& key, bool canCreate) {
    snapshot_ = store_.load();
    if (!snapshot_.find(key)) {
        if (!canCreate) return false;
        snapshot_.ensure(key);
        if (std::string error; !store_.save(snapshot_, error)) return false;
    }
    currentKey_ = key;
    open_ = true;
    return true;
}

void Registry::closeKey() {
    open_ = false;
    currentKey_.clear();
}

bool Registry::keyExists(const std::string& key) const {
    return store_.load().find(key) != nullptr;
}

bool Registry::valueExists(const std::string& name) const {
    const RegistryKey* key = open_ ? snapshot_.find(currentKey_) : nullptr;
    return key && key->find(name);
}

const RegistryValue& Registry::value(const std::string& name, RegistryValue::Type type) const {
    const RegistryKey* key = open_ ? snapshot_.find(currentKey_) : nullptr;
    const RegistryValue* v = key ? key->find(name) : nullptr;
    if (!v) throw ERegistryException("Failed to get data for '" + name + "'");
    if (v->type != type) throw ERegistryException("Invalid data type for '" + name + "'");
    return *v;
}

int Registry::readInteger(const std::string& name) const {
    return static_cast<int>(value(name, RegistryValue::Type::Dword).dword);
}

std::string Registry::readString(const std::string& name) const {
    return value(name, RegistryValue::Type::String).text;
}

void Registry::write(const std::string& name, RegistryValue value) {
    const std::string failure = "Failed to set data for '" + name + "'";
    if (!open_) throw ERegistryException(failure);
    RegistryDocument doc = store_.load();
    doc.ensure(currentKey_).set(name, value);
    if (std::string error; !store_.save(doc, error))
        throw ERegistryException(failure + ": " + error);
    snapshot_.ensure(currentKey_).set(name, std::move(value));
}

void Registry::writeInteger(const std::string& name, int value) {
    RegistryValue v;
    v.type = RegistryValue::Type::Dword;
    v.dword = static_cast<std::uint32_t>(value);
    write(name, std::move(v));
}

void Registry::writeString(const std::string& name, const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw ERegistryException("Failed to set data for '" + name + "'");
    RegistryValue v;
    v.type = RegistryValue::Type::String;
    v.text = text;
    write(name, std::move(v));
}

}  // namespace platform
