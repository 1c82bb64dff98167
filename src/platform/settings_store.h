// The per-user settings store that stands in for the registry: "registry.ini" in the user folder,
// one section per key path ("SOFTWARE\Quillory"), 32-bit integer values written in decimal.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace Platform {

class SettingsStore {
public:
    // `filePath` is the store's file, usually UserFilePath("registry.ini").
    explicit SettingsStore(std::string filePath);

    // A value name may hold backslashes: the part before the last one is appended to the key path.
    bool WriteInteger(std::string_view keyPath, std::string_view valueName, int32_t value);
    bool WriteBoolean(std::string_view keyPath, std::string_view valueName, bool value);
    // False, leaving `value` unchanged, when the key or value is missing or unreadable.
    bool ReadInteger(std::string_view keyPath, std::string_view valueName, int32_t& value);
    bool ReadBoolean(std::string_view keyPath, std::string_view valueName, bool& value);
    // False when there was no such value.
    bool EraseValue(std::string_view keyPath, std::string_view valueName);

    const std::string& FilePath() const { return filePath_; }
    // True when the last access found the file present but unreadable: reads then give the
    // defaults and every write is refused, so the file is never replaced by an empty one.
    bool Unreadable();

private:
    std::string filePath_;
    std::mutex mutex_;
    bool unreadable_ = false;
};

}  // namespace Platform
