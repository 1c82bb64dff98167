// Options, texts and binary blocks on top of the private-profile functions.
#include "engine/ini_access.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>

#include "engine/app_log.h"
#include "engine/private_profile.h"

namespace Quillory {
namespace {

constexpr char kConfigFile[] = "config.ini";
constexpr char kLanguageFile[] = "language.ini";

std::mutex gLanguageMutex;
std::string gLanguageName;
std::atomic<uint64_t> gLanguageGeneration{0};

}  // namespace

bool ReadConfigString(const char* section, const char* key, char* out) {
    if (out == nullptr) {
        return false;
    }
    GetPrivateProfileString(section, key, "", out, kConfigValueSize, kConfigFile);
    return out[0] != '\0';
}

bool WriteConfigString(const char* section, const char* key, const char* value) {
    return WritePrivateProfileString(section, key, value, kConfigFile);
}

bool ReadConfigFloat(const char* section, const char* key, float* out) {
    char text[kConfigValueSize];
    if (out == nullptr || !ReadConfigString(section, key, text)) {
        return false;
    }
    *out = static_cast<float>(std::strtod(text, nullptr));
    return true;
}

bool ReadConfigInt(const char* section, const char* key, int* out) {
    char text[kConfigValueSize];
    if (out == nullptr || !ReadConfigString(section, key, text)) {
        return false;
    }
    const double value = std::strtod(text, nullptr);
    // Out-of-range and not-a-number values would make the conversion undefined.
    if (!(value > -2147483648.0)) {
        *out = std::isnan(value) ? 0 : INT32_MIN;
    } else if (!(value < 2147483648.0)) {
        *out = INT32_MAX;
    } else {
        *out = static_cast<int>(value);
    }
    return true;
}

bool WriteConfigInt(const char* section, const char* key, int value) {
    return WriteConfigString(section, key, std::to_string(value).c_str());
}

bool ReadProfileStruct(const char* section, const char* key, void* buffer, int size,
                       const char* fileName) {
    if (size < 0) {
        return false;
    }
    return GetPrivateProfileStruct(section, key, buffer, static_cast<uint32_t>(size), fileName);
}

bool WriteProfileStruct(const char* section, const char* key, const void* buffer, int size,
                        const char* fileName) {
    if (size < 0) {
        return false;
    }
    return WritePrivateProfileStruct(section, key, buffer, static_cast<uint32_t>(size), fileName);
}

void SetLanguageName(const char* name) {
    std::lock_guard<std::mutex> lock(gLanguageMutex);
    gLanguageName = name == nullptr ? "" : name;
    ++gLanguageGeneration;
}

uint64_t LanguageGeneration() {
    // Both only grow, so their sum moves whenever either does.
    return gLanguageGeneration.load() + ProfileGeneration();
}

const char* LanguageName() {
    std::lock_guard<std::mutex> lock(gLanguageMutex);
    return gLanguageName.c_str();
}

const char* GetLanguageString(const char* key) {
    // Per thread, so the loading thread's look-ups never overwrite the main thread's result.
    thread_local char result[kConfigValueSize];
    std::string section;
    {
        std::lock_guard<std::mutex> lock(gLanguageMutex);
        section = gLanguageName;
    }
    if (section.empty()) {
        LogMessage("Warning: language not defined in 'config.ini'");
    }
    GetPrivateProfileString(section.c_str(), key == nullptr ? "" : key, "", result,
                            kConfigValueSize, kLanguageFile);
    return result;
}

}  // namespace Quillory
