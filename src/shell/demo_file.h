// Recorded play: the text file that "-record" writes and "-play" reads. Everything needed to play
// a session again exactly: the seeds of the four random generators, the settings that matter, the
// player's files as they were when the session started, and every input event with the number of
// the 10 ms update before which it reached the game. The format, one item a line:
//
//   quillory-recording 2              format version (always the first line)
//   version 2.1                       the program's version
//   data 5f1c0a9e33d2b871             fingerprint of the game data that decides the session
//   seeds 123 123 456 789             standard, framework, rules and cosmetic generators
//   windowed 1                        1 windowed, 0 full screen
//   detail 10                         particles per burst (3-D acceleration gives 10, else 5)
//   file config.ini 31                a user file as it was: name and size in bytes, then its
//   |[OPTIONS]\x0d                    lines, each after a '|', split at LF; '\' and bytes
//   |btnFullScreen=0\x0d              outside ' '..'~' written as \xNN
//   |
//   nofile saved.ini                  a user file that did not exist
//   events
//   1 move 400 300                    update number, then the event (see EventToText)
//   57 check 1 0 1                    after that update: screen state, score, level
//   345 end                           the session ended before update 345
//
// Update numbers start at 1 and never decrease. A file that breaks any rule, or goes past a limit
// below, is refused as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_events.h"

namespace Tuvo {

constexpr int kRecordingFormat = 2;
constexpr size_t kMaxRecordingBytes = 64u << 20;    // 64 MiB: hours of play
constexpr size_t kMaxRecordedFileBytes = 1u << 20;  // each embedded user file
// One line: an embedded file's line, each byte escaped at worst to four.
constexpr size_t kMaxRecordingLineBytes = 4 * kMaxRecordedFileBytes + 16;
constexpr int kMaxRecordingTick = 100 * 60 * 60 * 24;  // a day of updates

// The user files a recording carries, and the only names it may write.
constexpr std::array<const char*, 3> kRecordedFileNames = {"config.ini", "saved.ini", "scores.ini"};

struct RecordedFile {
    std::string name;
    bool present = false;
    std::string contents;
};

struct RecordedEvent {
    int tick = 0;
    Platform::InputEvent event;
};

// The game's visible state after an update, noted whenever it changes.
struct RecordedCheck {
    int tick = 0;
    int screenState = 0;
    int score = 0;
    int level = 0;
};

struct Recording {
    std::string programVersion;
    uint64_t dataFingerprint = 0;
    // Standard, framework, rules and cosmetic generators.
    std::array<uint32_t, 4> seeds{};
    bool windowed = false;
    int detail = 10;
    std::vector<RecordedFile> files;
    std::vector<RecordedEvent> events;
    std::vector<RecordedCheck> checks;
    int endTick = 0;  // the session ended before this update
};

// The whole file's text.
std::string FormatRecording(const Recording& recording);

// Reads a recording; false with a one-line reason in `error` when the text is not a whole,
// well-formed recording of this format. The program version and the data fingerprint are read,
// not judged.
bool ParseRecording(std::string_view text, Recording& recording, std::string& error);

// One event as the words after the update number ("down 400 300 1"), and back. Events that are
// not input (repaints, window moves) have no text: false.
bool EventToText(const Platform::InputEvent& event, std::string& text);
bool EventFromText(std::string_view text, Platform::InputEvent& event);

}  // namespace Tuvo
