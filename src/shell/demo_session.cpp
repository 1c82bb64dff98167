// Recorded play at run time.
#include "shell/demo_session.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/atomic_file.h"

namespace Tuvo {

namespace {

constexpr int kMaxDemoNumber = 9999;

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

DemoSession::DemoSession(bool recording, const std::string& path)
    : recording_(recording), path_(path) {}

DemoSession::~DemoSession() {
    if (!temporaryFolder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(temporaryFolder_, ignored);
    }
}

std::unique_ptr<DemoSession> DemoSession::ForRecording(const std::string& path) {
    return std::unique_ptr<DemoSession>(new DemoSession(true, path));
}

std::unique_ptr<DemoSession> DemoSession::ForPlayback(const std::string& path,
                                                      const std::string& programVersion,
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
