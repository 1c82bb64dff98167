// Reading and writing the application's persistent values.
#include "shell/settings.h"

#include <cmath>

namespace Tuvo {
namespace {

// Volumes are stored in percent. Rounded, not truncated: 0.57 x 100 is 56.999... in binary, and
// truncating would lower the volume by one percent at every exit.
int32_t Percent(double volume) {
    return static_cast<int32_t>(std::lround(volume * 100.0));
}

}  // namespace

void LoadPersistentSettings(RegistryKey& key, PersistentSettings& settings) {
    int32_t value = 0;
    if (key.ReadInteger("MusicVolume", value)) {
        settings.musicVolume = value / 100.0;
    }
    if (key.ReadInteger("SfxVolume", value)) {
        settings.sfxVolume = value / 100.0;
    }
    if (key.ReadInteger("Muted", value)) {
        settings.muteCount = value;
    }
    bool flag = false;
    if (key.ReadBoolean("ScreenMode", flag)) {
        settings.windowed = !flag;
    }
    if (key.ReadInteger("PreferredX", value)) {
        settings.preferredX = value;
    }
    if (key.ReadInteger("PreferredY", value)) {
        settings.preferredY = value;
    }
    if (key.ReadBoolean("CustomCursors", flag)) {
        settings.customCursors = flag;
    }
    if (key.ReadBoolean("WaitForVSync", flag)) {
        settings.waitForVSync = flag;
    }
    if (key.ReadBoolean("InProgress", flag)) {
        settings.inProgress = flag;
    }
    key.WriteBoolean("InProgress", true);
}

void SavePersistentSettings(RegistryKey& key, const PersistentSettings& settings) {
    key.WriteInteger("MusicVolume", Percent(settings.musicVolume));
    key.WriteInteger("SfxVolume", Percent(settings.sfxVolume));
    key.WriteBoolean("Muted", settings.muteCount - settings.automaticMuteCount > 0);
    key.WriteBoolean("ScreenMode", !settings.windowed);
    key.WriteInteger("PreferredX", settings.preferredX);
    key.WriteInteger("PreferredY", settings.preferredY);
    key.WriteBoolean("CustomCursors", settings.customCursors);
    key.WriteBoolean("InProgress", false);
    key.WriteBoolean("WaitForVSync", settings.waitForVSync);
}

}  // namespace Tuvo
