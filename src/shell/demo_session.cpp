// Recorded play at run time.
#include "shell/demo_session.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/archive/pak_file.h"
#include "platform/atomic_file.h"

namespace Tuvo {

namespace {

constexpr int kMaxDemoNumber = 9999;
// Level files looked for by the fingerprint; the game has 40.
constexpr int kMaxFingerprintLevels = 10000;
constexpr size_t kMaxFingerprintFileBytes = 4u << 20;

// 64-bit FNV-1a: a checksum of the data, not a defence against forgery.
class Fnv1a {
public:
    void Add(const void* data, size_t size) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ = (hash_ ^ bytes[i]) * 0x100000001B3ull;
        }
    }
    void AddNumber(uint64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            const uint8_t byte = static_cast<uint8_t>(value >> shift);
            Add(&byte, 1);
        }
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

// Adds a file's name and contents; false when it cannot be read (its name still counts, so a
// missing file differs from an empty one).
bool AddDataFile(Fnv1a& hash, const std::string& name) {
    std::vector<uint8_t> contents;
    const bool read = Tuvo::PakReadWholeFile(name.c_str(), contents, kMaxFingerprintFileBytes);
    hash.Add(name.data(), name.size() + 1);
    hash.AddNumber(read ? contents.size() : ~0ull);
    hash.Add(contents.data(), contents.size());
    return read;
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool ParseNumber(const std::string& text, int& value) {
    if (text.empty() || text.size() > 4) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return value <= kMaxDemoNumber;
}

enum class ReadResult { kRead, kMissing, kRefused };

// Reads a regular file of at most `limit` bytes; anything else is refused with a reason.
ReadResult ReadSmallFile(const std::string& path, size_t limit, std::string& contents,
                         std::string& why) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        why = "it does not exist";
        return ReadResult::kMissing;
    }
    if (!S_ISREG(info.st_mode)) {
        why = "it is not a regular file";
        return ReadResult::kRefused;
    }
    if (static_cast<unsigned long long>(info.st_size) > limit) {
        why = "it is too large";
        return ReadResult::kRefused;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in.good() && !in.eof()) {
        why = "it cannot be read";
        return ReadResult::kRefused;
    }
    contents = text.str();
    if (contents.size() > limit) {
        why = "it is too large";
        return ReadResult::kRefused;
    }
    return ReadResult::kRead;
}

}  // namespace

bool ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options,
                      std::string& error) {
    options = DemoOptions{};
    bool record = false;
    bool play = false;
    bool fileGiven = false;
    for (const std::string& argument : arguments) {
        int number = 0;
        if (argument == "-record") {
            record = true;
        } else if (argument == "-play") {
            play = true;
        } else if (StartsWith(argument, "-recnum=") || StartsWith(argument, "-playnum=")) {
            const bool recnum = StartsWith(argument, "-recnum=");
            const std::string value = argument.substr(argument.find('=') + 1);
            if (!ParseNumber(value, number)) {
                error = "'" + argument + "': the demo number is 0 to 9999";
                return false;
            }
            (recnum ? record : play) = true;
            options.number = number;
        } else if (StartsWith(argument, "-demofile=")) {
            options.file = argument.substr(10);
            fileGiven = true;
            if (options.file.empty()) {
                error = "'-demofile=' names no file";
                return false;
            }
        } else if (argument == "-recnum" || argument == "-playnum" || argument == "-demofile") {
            error = "'" + argument + "' needs a value: " + argument + "=...";
            return false;
        }
    }
    if (record && play) {
        error = "a session cannot be recorded and played back at once";
        return false;
    }
    if (fileGiven && !record && !play) {
        error = "'-demofile' needs -record or -play";
        return false;
    }
    if (fileGiven && options.number >= 0) {
        error = "'-demofile' and a demo number name two files";
        return false;
    }
    options.mode = record ? DemoOptions::Mode::kRecord
                          : (play ? DemoOptions::Mode::kPlay : DemoOptions::Mode::kNone);
    return true;
}

std::string DemoFilePath(const DemoOptions& options, const std::string& startFolder,
                         const std::string& userFolder) {
    if (!options.file.empty()) {
        return options.file.front() == '/' ? options.file : startFolder + "/" + options.file;
    }
    const std::string number = options.number >= 0 ? std::to_string(options.number) : "";
    return userFolder + "/demos/demo" + number + ".txt";
}

bool PrepareUserFolder(const Recording& recording, const std::string& folder, bool fresh,
                       std::vector<std::string>& warnings, std::string& error) {
    for (const RecordedFile& file : recording.files) {
        const std::string path = folder + "/" + file.name;
        std::string existing;
        std::string why;
        const ReadResult read = fresh ? ReadResult::kMissing
                                      : ReadSmallFile(path, kMaxRecordedFileBytes, existing, why);
        if (read == ReadResult::kMissing) {
            if (file.present && !Platform::WriteFileAtomically(path, file.contents,
                                                               Platform::Durability::kNoFlush)) {
                error = "cannot write '" + path + "'";
                return false;
            }
            continue;
        }
        // The player's own file stays as it is.
        if (read == ReadResult::kRefused || !file.present || existing != file.contents) {
            warnings.push_back("WARNING: Playback: '" + path +
                               "' differs from the recorded one; the session may go another way");
        }
    }
    return true;
}

uint64_t DataFingerprint(const std::vector<std::string>& menuFiles) {
    Fnv1a hash;
    AddDataFile(hash, "classes.xml");
    for (const std::string& menu : menuFiles) {
        AddDataFile(hash, "Menu\\" + menu);
    }
    for (int level = 1; level <= kMaxFingerprintLevels; ++level) {
        if (!AddDataFile(hash, "Levels\\level_" + std::to_string(level) + ".xml")) {
            break;
        }
    }
    return hash.Value();
}

DemoSession::DemoSession(bool recording, const std::string& path)
    : recording_(recording), path_(path) {}

DemoSession::~DemoSession() {
    if (!temporaryFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryFolder_, ignored);
    }
}

std::unique_ptr<DemoSession> DemoSession::ForRecording(const std::string& path,
                                                       uint64_t dataFingerprint) {
    std::unique_ptr<DemoSession> session(new DemoSession(true, path));
    session->data_.dataFingerprint = dataFingerprint;
    return session;
}

std::unique_ptr<DemoSession> DemoSession::ForPlayback(const std::string& path,
                                                      const std::string& programVersion,
                                                      uint64_t dataFingerprint,
                                                      std::string& error) {
    std::string text;
    std::string why;
    if (ReadSmallFile(path, kMaxRecordingBytes, text, why) != ReadResult::kRead) {
        error = "cannot play '" + path + "': " + why;
        return nullptr;
    }
    std::unique_ptr<DemoSession> session(new DemoSession(false, path));
    if (!ParseRecording(text, session->data_, why)) {
        error = "cannot play '" + path + "': it is damaged (" + why + ")";
        return nullptr;
    }
    if (session->data_.programVersion != programVersion) {
        error = "cannot play '" + path + "': it was recorded by version " +
                session->data_.programVersion + " of the game, this is " + programVersion;
        return nullptr;
    }
    if (session->data_.dataFingerprint != dataFingerprint) {
        error = "cannot play '" + path +
                "': it was recorded on other game data (its levels, menus or shape classes "
                "differ from those of this data folder)";
        return nullptr;
    }
    return session;
}

void DemoSession::CaptureUserFiles(const std::string& userFolder) {
    data_.files.clear();
    for (const char* name : kRecordedFileNames) {
        RecordedFile file;
        file.name = name;
        std::string why;
        file.present = ReadSmallFile(userFolder + "/" + name, kMaxRecordedFileBytes, file.contents,
                                     why) == ReadResult::kRead;
        if (!file.present) {
            file.contents.clear();
        }
        data_.files.push_back(std::move(file));
    }
}

void DemoSession::TickDone(int screenState, int score, int level) {
    ++ticksDone_;
    const RecordedCheck now{ticksDone_, screenState, score, level};
    if (now.screenState == last_.screenState && now.score == last_.score &&
        now.level == last_.level) {
        return;
    }
    last_ = now;
    if (recording_) {
        data_.checks.push_back(now);
        return;
    }
    if (!divergence_.empty()) {
        return;
    }
    const bool expected = nextCheck_ < data_.checks.size();
    const RecordedCheck& want = expected ? data_.checks[nextCheck_] : now;
    if (!expected || want.tick != now.tick || want.screenState != now.screenState ||
        want.score != now.score || want.level != now.level) {
        divergence_ = "after update " + std::to_string(now.tick) + " the game shows screen " +
                      std::to_string(now.screenState) + ", score " + std::to_string(now.score) +
                      ", level " + std::to_string(now.level);
        divergence_ += expected ? "; recorded: after update " + std::to_string(want.tick) +
                                      " screen " + std::to_string(want.screenState) + ", score " +
                                      std::to_string(want.score) + ", level " +
                                      std::to_string(want.level)
                                : "; the recording has no such change";
        return;
    }
    ++nextCheck_;
}

void DemoSession::HandOver(const Platform::InputEvent& event) {
    using Platform::EventKind;
    const int bit = event.clickCount < 0
                        ? Platform::kRightButton
                        : (event.clickCount == 3 ? Platform::kMiddleButton : Platform::kLeftButton);
    switch (event.kind) {
        case EventKind::kMouseMove:
            pointerX_ = event.x;
            pointerY_ = event.y;
            break;
        case EventKind::kMouseDown:
            pointerX_ = event.x;
            pointerY_ = event.y;
            buttons_.Press(bit);
            break;
        case EventKind::kMouseUp:
            pointerX_ = event.x;
            pointerY_ = event.y;
            buttons_.Release(bit);
            break;
        case EventKind::kFocusLost:
            buttons_.ReleaseAll();
            break;
        default:
            break;
    }
    std::string text;
    if (recording_ && EventToText(event, text)) {
        data_.events.push_back({NextTick(), event});
    }
}

std::vector<Platform::InputEvent> DemoSession::EventsBefore(int tick) {
    std::vector<Platform::InputEvent> events;
    while (nextEvent_ < data_.events.size() && data_.events[nextEvent_].tick <= tick) {
        events.push_back(data_.events[nextEvent_++].event);
    }
    return events;
}

bool DemoSession::Finish(std::string& error) {
    if (finished_) {
        return true;
    }
    finished_ = true;
    if (!recording_) {
        if (divergence_.empty() && nextCheck_ < data_.checks.size()) {
            const RecordedCheck& want = data_.checks[nextCheck_];
            divergence_ = "the session ended after update " + std::to_string(ticksDone_) +
                          "; recorded: after update " + std::to_string(want.tick) + " screen " +
                          std::to_string(want.screenState) + ", score " +
                          std::to_string(want.score);
        }
        if (!divergence_.empty()) {
            error = divergence_;
            return false;
        }
        return true;
    }
    // A quit inside an update is replayed by that update itself, one between updates (a signal, a
    // script) by the end line: either way the update after the last one is where it ends.
    data_.endTick = ticksDone_ + 1;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    std::error_code ignored;
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, ignored);
    }
    if (!Platform::WriteFileAtomically(path_, FormatRecording(data_),
                                       Platform::Durability::kFlushToDisk)) {
        error = "cannot write '" + path_ + "'";
        return false;
    }
    return true;
}

}  // namespace Tuvo
