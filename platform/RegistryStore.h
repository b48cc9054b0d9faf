#pragma once
// The stand-in for HKEY_CURRENT_USER: one text file in the registry editor's export format
// (see RegistryFormat.h), by default $XDG_CONFIG_HOME/vigil/registry.reg (~/.config when unset);
// the environment variable VIGIL_REGISTRY points it at another file (tests, demonstrations).
//
// Saving writes a temporary file beside the store, flushes it to disk and renames it over the old
// one, so a crash or a full disk never leaves a half-written store. A store file that cannot be
// parsed is reported once per run (a plain message box naming the file) and treated as absent;
// when the next save replaces it, the damaged file is first moved aside to "<name>.damaged" (or
// "<name>.damaged.1", ... when that exists), so nothing the user had is lost unseen.
//
// Everything here runs on the caller's thread; the program uses it on the main thread only.
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/RegistryFormat.h"

namespace platform {

// Raised for a value that is missing or has another type, and for a write that could not be
// stored; the texts are the framework's ("Failed to get data for 'ComNum'").
class ERegistryException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The store file in use: VIGIL_REGISTRY, or the default in the user's configuration folder.
std::string registryPath();

// Whole-file access to the store.
class RegistryStore {
  public:
    explicit RegistryStore(std::string path);

    const std::string& path() const { return path_; }
    // The stored keys; none when the file is missing, unreadable or damaged.
    RegistryDocument load() const;
    // The same without telling of a damaged file (nothing then): for what is read before the
    // program can show a message, so that the first load after that still tells.
    std::optional<RegistryDocument> loadQuietly() const;
    // Replaces the file atomically; on failure returns false with the reason in `error` and leaves
    // the old file as it was.
    bool save(const RegistryDocument& document, std::string& error) const;

  private:
    // The document, or nothing with `error` for an unreadable or damaged file.
    std::optional<RegistryDocument> read(std::string& error) const;

    std::string path_;
};

// One open key at a time, in the manner of the framework's registry object. Reads come from the
// state of the store when the key was opened; every write goes to the file at once (re-reading it
// first, so that writes through another handle are kept).
class Registry {
  public:
    explicit Registry(std::string storePath = registryPath());

    // Opens `key` (a path such as "Quorveth\ComPort"); without `canCreate` a missing key gives
    // false. A key that is created is stored at once; false when that store fails.
    bool openKey(const std::string& key, bool canCreate);
    void closeKey();
    bool keyExists(const std::string& key) const;
    bool valueExists(const std::string& name) const;

    int readInteger(const std::string& name) const;
    std::string readString(const std::string& name) const;
    void writeInteger(const std::string& name, int value);
    // Line breaks cannot be stored in this format; such a text is refused like a failed write.
    void writeString(const std::string& name, const std::string& text);

  private:
    const RegistryValue& value(const std::string& name, RegistryValue::Type type) const;
    void write(const std::string& name, RegistryValue value);

    RegistryStore store_;
    RegistryDocument snapshot_;
    std::string currentKey_;
    bool open_ = false;
};

}  // namespace platform
