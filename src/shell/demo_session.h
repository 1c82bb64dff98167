// Recorded play at run time: the options that ask for it, the clock that makes it repeatable, and
// the session object that notes (or replays) the input of every 10 ms update.
//
// While recording or playing, the game runs on update counts rather than wall time: every update
// is followed by exactly one game step of 10 ms, the clock that the rules, effects and board read
// moves 10 ms per update, the loading thread finishes before the first update, and a frame is
// drawn after every second update. Input reaches the game only between updates, and the pointer
// and buttons it samples are those of the events handed over, so the same events at the same
// update numbers, from the same seeds and files, give the same session.
//
// Options ("=" separates a value, as for every option of the game):
//   -record               record into the user folder's "demos/demo.txt"
//   -recnum=N             record into "demos/demo<N>.txt" (N: 0 to 9999)
//   -play                 play "demos/demo.txt"
//   -playnum=N            play "demos/demo<N>.txt"
//   -demofile=FILE        record into or play FILE instead (relative to the starting folder)
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/input_events.h"
#include "platform/mouse_latch.h"
#include "shell/demo_file.h"

namespace Tuvo {

struct DemoOptions {
    enum class Mode { kNone, kRecord, kPlay };
    Mode mode = Mode::kNone;
    std::string file;  // empty: the default or numbered file of the user folder
    int number = -1;   // -1: none
};

// Picks the demo options out of the process's arguments; false with a reason when they make no
// sense together (both -record and -play, a bad number, -demofile alone).
bool ParseDemoOptions(const std::vector<std::string>& arguments, DemoOptions& options,
                      std::string& error);

// The recording's path: FILE as given (relative to `startFolder`), or "demos/demo[N].txt" in
// `userFolder`.
std::string DemoFilePath(const DemoOptions& options, const std::string& startFolder,
                         const std::string& userFolder);

// A clock that reads the real one until it is switched to steps; then it stands still except
// when stepped. Sleeping always takes real time.
class SteppedClock : public Platform::Clock {
public:
    explicit SteppedClock(Platform::Clock& real) : real_(real) {}
    void SetStepped(bool stepped) { stepped_ = stepped; }
    bool Stepped() const { return stepped_; }
    void Step(uint32_t milliseconds) { steppedNow_ += milliseconds; }
    uint32_t Milliseconds() override {
        return stepped_ ? steppedNow_.load() : real_.Milliseconds();
    }
    void Sleep(uint32_t milliseconds) override { real_.Sleep(milliseconds); }
    uint64_t WallMilliseconds() override { return real_.WallMilliseconds(); }
    Platform::Clock& Real() { return real_; }

private:
    Platform::Clock& real_;
    std::atomic<bool> stepped_{false};
    std::atomic<uint32_t> steppedNow_{1000};
};

// Puts the recording's files into `folder` for a playback. A folder of our own (`fresh`) gets
// them all. A folder the player named keeps every file it has: only missing ones are written, and
// each file that differs from the recorded one adds a warning, since the session may then go
// another way. False with `error` when a file cannot be written.
bool PrepareUserFolder(const Recording& recording, const std::string& folder, bool fresh,
                       std::vector<std::string>& warnings, std::string& error);

// A fingerprint of the game data that decides where a session goes: "classes.xml", the level
// files from level 1 up to the first missing one, and `menuFiles` (names in "Menu\"). They are
// read through the archive layer, so a packed and a loose copy of the same data agree. Art,
// sounds, music and texts change how a session looks and sounds, not its course: left out.
uint64_t DataFingerprint(const std::vector<std::string>& menuFiles);

class DemoSession {
public:
    // A recording to be written to `path` at the end, made on data of `dataFingerprint`.
    static std::unique_ptr<DemoSession> ForRecording(const std::string& path,
                                                     uint64_t dataFingerprint);
    // A playback of `path`; null with `error` set when the file is missing, damaged, made by
    // another version than `programVersion` or on other data than `dataFingerprint` says.
    static std::unique_ptr<DemoSession> ForPlayback(const std::string& path,
                                                    const std::string& programVersion,
                                                    uint64_t dataFingerprint, std::string& error);
    ~DemoSession();
    DemoSession(const DemoSession&) = delete;
    DemoSession& operator=(const DemoSession&) = delete;

    bool IsRecording() const { return recording_; }
    bool IsPlaying() const { return !recording_; }
    const std::string& Path() const { return path_; }
    Recording& Data() { return data_; }
    // A temporary user folder removed when the session ends (playback without -userdir).
    void OwnTemporaryFolder(const std::string& folder) { temporaryFolder_ = folder; }

    // Recording: the user files as they are now, before the session changes any.
    void CaptureUserFiles(const std::string& userFolder);

    // The update about to run (the first is 1), and the end of one.
    int NextTick() const { return ticksDone_ + 1; }
    // After an update: notes (recording) or compares (playback) the game's visible state.
    void TickDone(int screenState, int score, int level);

    // Input handed to the game: noted when recording, and in both modes the pointer and buttons
    // the game samples.
    void HandOver(const Platform::InputEvent& event);
    int SampleButtons() { return buttons_.Sample(); }
    int HeldButtons() const { return buttons_.Held(); }
    void Pointer(int& x, int& y) const {
        x = pointerX_;
        y = pointerY_;
    }

    // Playback: the events to hand over before update `tick` (each call moves on), and whether
    // the session ended before it.
    std::vector<Platform::InputEvent> EventsBefore(int tick);
    bool EndsBefore(int tick) const { return tick >= data_.endTick; }
    // Playback: the first difference from the recorded session, or empty.
    const std::string& Divergence() const { return divergence_; }

    // Ends the session: a recording is written (atomically), a playback checks that it saw every
    // recorded state. False with `error` when that fails.
    bool Finish(std::string& error);

private:
    DemoSession(bool recording, const std::string& path);

    bool recording_;
    std::string path_;
    Recording data_;
    std::string temporaryFolder_;
    int ticksDone_ = 0;
    bool finished_ = false;
    // The last state noted or seen, and (playback) the next recorded check and event.
    RecordedCheck last_{0, -1, 0, -1};
    size_t nextCheck_ = 0;
    size_t nextEvent_ = 0;
    std::string divergence_;
    Platform::MouseButtonLatch buttons_;
    int pointerX_ = 0;
    int pointerY_ = 0;
};

}  // namespace Tuvo
