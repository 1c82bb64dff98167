// The registry stand-in, kept in an INI file with the Windows rules.
#include "platform/settings_store.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/atomic_file.h"
#include "platform/ini_document.h"

namespace Platform {
namespace {

struct ValueLocation {
    std::string section;
    std::string value;
};

ValueLocation Locate(std::string_view keyPath, std::string_view valueName) {
    ValueLocation location{std::string(keyPath), std::string(valueName)};
    const size_t slash = valueName.find_last_of('\\');
    if (slash != std::string_view::npos) {
        location.section.append("\\").append(valueName.substr(0, slash));
        location.value = std::string(valueName.substr(slash + 1));
    }
    return location;
}

IniDocument LoadDocument(const std::string& path, bool& unreadable) {
    std::string text;
    unreadable = ReadRegularFile(path, text, kMaxTextFileBytes) == ReadStatus::kUnreadable;
    return IniDocument(text);
}

}  // namespace

SettingsStore::SettingsStore(std::string filePath) : filePath_(std::move(filePath)) {}

bool SettingsStore::WriteInteger(std::string_view keyPath, std::string_view valueName,
                                 int32_t value) {
    if (keyPath.empty() || valueName.empty()) {
        return false;
    }
    const ValueLocation location = Locate(keyPath, valueName);
    std::lock_guard<std::mutex> lock(mutex_);
    IniDocument document = LoadDocument(filePath_, unreadable_);
    if (unreadable_) {
        return false;  // replacing a file we could not read would lose every value in it
    }
    document.SetValue(location.section, location.value, std::to_string(value));
    return WriteFileAtomically(filePath_, document.ToText(), Durability::kNoFlush);
}

bool SettingsStore::Unreadable() {
    std::lock_guard<std::mutex> lock(mutex_);
    return unreadable_;
}

bool SettingsStore::WriteBoolean(std::string_view keyPath, std::string_view valueName, bool value) {
    return WriteInteger(keyPath, valueName, value ? 1 : 0);
}

bool SettingsStore::ReadInteger(std::string_view keyPath, std::string_view valueName,
                                int32_t& value) {
    const ValueLocation location = Locate(keyPath, valueName);
    std::optional<std::string> text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = LoadDocument(filePath_, unreadable_).GetValue(location.section, location.value);
    }
    if (!text || text->empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text->c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > UINT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(parsed));
    return true;
}

bool SettingsStore::ReadBoolean(std::string_view keyPath, std::string_view valueName, bool& value) {
    int32_t number = 0;
    if (!ReadInteger(keyPath, valueName, number)) {
        return false;
    }
    value = number != 0;
    return true;
}

bool SettingsStore::EraseValue(std::string_view keyPath, std::string_view valueName) {
    const ValueLocation location = Locate(keyPath, valueName);
    std::lock_guard<std::mutex> lock(mutex_);
    IniDocument document = LoadDocument(filePath_, unreadable_);
    if (unreadable_ || !document.GetValue(location.section, location.value)) {
        return false;
    }
    document.DeleteKey(location.section, location.value);
    return WriteFileAtomically(filePath_, document.ToText(), Durability::kNoFlush);
}

}  // namespace Platform
