// The values the application keeps in the settings store (the registry's stand-in) under
// "SOFTWARE\" + the registry key, and the order in which they are read and written.
#pragma once

#include <cstdint>
#include <string>

#include "platform/settings_store.h"

namespace Tuvo {

// The store's values under one key path.
class RegistryKey {
public:
    RegistryKey(Platform::SettingsStore& store, std::string keyPath)
        : store_(store), keyPath_(std::move(keyPath)) {}

    bool WriteInteger(const std::string& name, int32_t value) {
        return store_.WriteInteger(keyPath_, name, value);
    }
    bool WriteBoolean(const std::string& name, bool value) {
        return store_.WriteBoolean(keyPath_, name, value);
    }
    bool ReadInteger(const std::string& name, int32_t& value) {
        return store_.ReadInteger(keyPath_, name, value);
    }
    bool ReadBoolean(const std::string& name, bool& value) {
        return store_.ReadBoolean(keyPath_, name, value);
    }
    bool EraseValue(const std::string& name) { return store_.EraseValue(keyPath_, name); }
    const std::string& Path() const { return keyPath_; }

private:
    Platform::SettingsStore& store_;
    std::string keyPath_;
};

// The application base's persistent fields with their first-run defaults.
struct PersistentSettings {
    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    int muteCount = 0;
    int automaticMuteCount = 0;
    bool windowed = true;
    int preferredX = -1;
    int preferredY = -1;
    bool customCursors = false;
    bool waitForVSync = false;
    bool inProgress = false;  // what the store said at start: true after a crash
};

// Reads "MusicVolume", "SfxVolume", "Muted", "ScreenMode", "PreferredX", "PreferredY",
// "CustomCursors", "WaitForVSync", "InProgress" in that order (a missing value keeps the field),
// then writes "InProgress" = 1.
void LoadPersistentSettings(RegistryKey& key, PersistentSettings& settings);

// Writes "MusicVolume", "SfxVolume", "Muted", "ScreenMode", "PreferredX", "PreferredY",
// "CustomCursors", "InProgress" = 0, "WaitForVSync" in that order.
void SavePersistentSettings(RegistryKey& key, const PersistentSettings& settings);

}  // namespace Tuvo
