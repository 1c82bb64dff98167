// Writing and reading recorded play.
#include "shell/demo_file.h"

#include <charconv>
#include <cstdio>

#include "platform/ini_document.h"

namespace Tuvo {

namespace {

using Platform::EventKind;

// Bounds of the numbers an event may carry; anything outside is damage, not input.
constexpr int kMaxCoordinate = 100000;
constexpr int kMaxWheel = 1000;

struct EventName {
    EventKind kind;
    const char* name;
};

constexpr EventName kEventNames[] = {
    {EventKind::kMouseMove, "move"},       {EventKind::kMouseDown, "down"},
    {EventKind::kMouseUp, "up"},           {EventKind::kMouseWheel, "wheel"},
    {EventKind::kMouseEnter, "enter"},     {EventKind::kMouseLeave, "leave"},
    {EventKind::kKeyDown, "keydown"},      {EventKind::kKeyUp, "keyup"},
    {EventKind::kKeyChar, "char"},         {EventKind::kFocusGained, "focus-gained"},
    {EventKind::kFocusLost, "focus-lost"}, {EventKind::kMinimized, "minimized"},
    {EventKind::kRestored, "restored"},    {EventKind::kMaximized, "maximized"},
    {EventKind::kCloseRequested, "close"},
};

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && text[at] == ' ') {
            ++at;
        }
        const size_t start = at;
        while (at < text.size() && text[at] != ' ') {
            ++at;
        }
        if (at > start) {
            words.push_back(text.substr(start, at - start));
        }
    }
    return words;
}

// A whole decimal word within lo..hi.
bool ParseInt(std::string_view word, long long lo, long long hi, long long& value) {
    if (word.empty()) {
        return false;
    }
    const char* end = word.data() + word.size();
    const auto result = std::from_chars(word.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= lo && value <= hi;
}

bool ParseInt(std::string_view word, int lo, int hi, int& value) {
    long long wide = 0;
    if (!ParseInt(word, static_cast<long long>(lo), static_cast<long long>(hi), wide)) {
        return false;
    }
    value = static_cast<int>(wide);
    return true;
}

bool IsRecordedFileName(std::string_view name) {
    for (const char* allowed : kRecordedFileNames) {
        if (name == allowed) {
            return true;
        }
    }
    return false;
}

void AppendEscapedLine(std::string& out, std::string_view line) {
    out += '|';
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E && byte != '\\') {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\x%02x", byte);
            out += escape;
        }
    }
    out += '\n';
}

bool ParseFingerprint(std::string_view word, uint64_t& value) {
    if (word.size() != 16) {
        return false;
    }
    value = 0;
    for (const char c : word) {
        const int digit = Platform::HexDigitValue(c);
        if (digit < 0) {
            return false;
        }
        value = value << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

bool UnescapeLine(std::string_view line, std::string& out) {
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\') {
            out += line[i];
            continue;
        }
        if (i + 3 >= line.size() || line[i + 1] != 'x') {
            return false;
        }
        const int high = Platform::HexDigitValue(line[i + 2]);
        const int low = Platform::HexDigitValue(line[i + 3]);
        if (high < 0 || low < 0) {
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 3;
    }
    return true;
}

// Splits the text into lines at LF; a line over the limit fails.
bool SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end - start > kMaxRecordingLineBytes) {
            return false;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

class Parser {
public:
    Parser(const std::vector<std::string_view>& lines, Recording& recording, std::string& error)
        : lines_(lines), recording_(recording), error_(error) {}

    bool Parse() {
        if (!Header() || !Files() || !Events()) {
            return false;
        }
        return true;
    }

private:
    bool Fail(const std::string& why) {
        error_ = "line " + std::to_string(next_ + 1) + ": " + why;
        return false;
    }

    bool More() const { return next_ < lines_.size(); }

    // The next line's words, which must start with `key` and number `count` in all.
    bool KeyLine(const char* key, size_t count, std::vector<std::string_view>& words) {
        if (!More()) {
            return Fail(std::string("the file ends before '") + key + "'");
        }
        words = Words(lines_[next_]);
        if (words.empty() || words[0] != key || words.size() != count) {
            return Fail(std::string("expected '") + key + "'");
        }
        return true;
    }

    bool Header() {
        std::vector<std::string_view> words;
        if (!More() || Words(lines_[0]).size() != 2 ||
            Words(lines_[0])[0] != "quillory-recording") {
            return Fail("not a Quillory recording");
        }
        int format = 0;
        if (!ParseInt(Words(lines_[0])[1], 1, 1000000, format) || format != kRecordingFormat) {
            return Fail("a recording format this version cannot read (it reads format " +
                        std::to_string(kRecordingFormat) + ")");
        }
        ++next_;
        if (!KeyLine("version", 2, words)) {
            return false;
        }
        recording_.programVersion = std::string(words[1]);
        ++next_;
        if (!KeyLine("data", 2, words)) {
            return false;
        }
        if (!ParseFingerprint(words[1], recording_.dataFingerprint)) {
            return Fail("the data fingerprint is not 16 hexadecimal digits");
        }
        ++next_;
        if (!KeyLine("seeds", 5, words)) {
            return false;
        }
        for (size_t i = 0; i < 4; ++i) {
            long long seed = 0;
            if (!ParseInt(words[i + 1], 0LL, 0xFFFFFFFFLL, seed)) {
                return Fail("a seed is not a 32-bit number");
            }
            recording_.seeds[i] = static_cast<uint32_t>(seed);
        }
        ++next_;
        int windowed = 0;
        if (!KeyLine("windowed", 2, words) || !ParseInt(words[1], 0, 1, windowed)) {
            return error_.empty() ? Fail("'windowed' is 0 or 1") : false;
        }
        recording_.windowed = windowed != 0;
        ++next_;
        if (!KeyLine("detail", 2, words) || !ParseInt(words[1], 1, 10, recording_.detail)) {
            return error_.empty() ? Fail("'detail' is 1 to 10") : false;
        }
        ++next_;
        return true;
    }

    bool Files() {
        while (More() && lines_[next_] != "events") {
            const std::vector<std::string_view> words = Words(lines_[next_]);
            RecordedFile file;
            if (words.size() == 2 && words[0] == "nofile") {
                file.name = std::string(words[1]);
            } else if (words.size() == 3 && words[0] == "file") {
                file.name = std::string(words[1]);
                file.present = true;
            } else {
                return Fail("expected 'file', 'nofile' or 'events'");
            }
            if (!IsRecordedFileName(file.name)) {
                return Fail("'" + file.name + "' is not a file a recording carries");
            }
            for (const RecordedFile& earlier : recording_.files) {
                if (earlier.name == file.name) {
                    return Fail("'" + file.name + "' is given twice");
                }
            }
            long long size = 0;
            if (file.present &&
                !ParseInt(words[2], 0LL, static_cast<long long>(kMaxRecordedFileBytes), size)) {
                return Fail("the size of '" + file.name + "' is not 0 to 1 MiB");
            }
            ++next_;
            if (file.present && !FileLines(file, static_cast<size_t>(size))) {
                return false;
            }
            recording_.files.push_back(std::move(file));
        }
        if (!More()) {
            return Fail("the file ends before 'events'");
        }
        ++next_;
        return true;
    }

    bool FileLines(RecordedFile& file, size_t size) {
        bool first = true;
        while (More() && !lines_[next_].empty() && lines_[next_][0] == '|') {
            if (!first) {
                file.contents += '\n';
            }
            first = false;
            if (!UnescapeLine(lines_[next_].substr(1), file.contents) ||
                file.contents.size() > size) {
                return Fail("the lines of '" + file.name + "' are damaged");
            }
            ++next_;
        }
        if (first || file.contents.size() != size) {
            return Fail("'" + file.name + "' does not hold the " + std::to_string(size) +
                        " bytes it says");
        }
        return true;
    }

    bool Events() {
        int lastTick = 1;
        while (More()) {
            const std::string_view line = lines_[next_];
            const size_t space = line.find(' ');
            int tick = 0;
            if (space == std::string_view::npos ||
                !ParseInt(line.substr(0, space), 1, kMaxRecordingTick, tick)) {
                return Fail("an update number of 1 to " + std::to_string(kMaxRecordingTick) +
                            " must start the line");
            }
            if (tick < lastTick) {
                return Fail("update numbers go back");
            }
            lastTick = tick;
            const std::string_view rest = line.substr(space + 1);
            if (rest == "end") {
                recording_.endTick = tick;
                ++next_;
                if (More()) {
                    return Fail("lines after 'end'");
                }
                return true;
            }
            const std::vector<std::string_view> words = Words(rest);
            if (!words.empty() && words[0] == "check") {
                RecordedCheck check;
                check.tick = tick;
                if (words.size() != 4 || !ParseInt(words[1], 0, 16, check.screenState) ||
                    !ParseInt(words[2], -2000000000, 2000000000, check.score) ||
                    !ParseInt(words[3], 0, 1000000, check.level)) {
                    return Fail("a damaged 'check'");
                }
                recording_.checks.push_back(check);
            } else {
                RecordedEvent event;
                event.tick = tick;
                if (!EventFromText(rest, event.event)) {
                    return Fail("not an input event");
                }
                recording_.events.push_back(event);
            }
            ++next_;
        }
        return Fail("no 'end': the recording was cut short");
    }

    const std::vector<std::string_view>& lines_;
    Recording& recording_;
    std::string& error_;
    size_t next_ = 0;
};

}  // namespace

bool EventToText(const Platform::InputEvent& event, std::string& text) {
    const char* name = nullptr;
    for (const EventName& entry : kEventNames) {
        if (entry.kind == event.kind) {
            name = entry.name;
        }
    }
    if (name == nullptr) {
        return false;
    }
    char buffer[96];
    switch (event.kind) {
        case EventKind::kMouseMove:
        case EventKind::kMouseLeave:
            std::snprintf(buffer, sizeof(buffer), "%s %d %d", name, event.x, event.y);
            break;
        case EventKind::kMouseDown:
        case EventKind::kMouseUp:
            std::snprintf(buffer, sizeof(buffer), "%s %d %d %d", name, event.x, event.y,
                          event.clickCount);
            break;
        case EventKind::kMouseWheel:
            std::snprintf(buffer, sizeof(buffer), "%s %d", name, event.wheelDelta);
            break;
        case EventKind::kKeyDown:
            std::snprintf(buffer, sizeof(buffer), "%s %d %d", name, event.keyCode,
                          event.altDown ? 1 : 0);
            break;
        case EventKind::kKeyUp:
            std::snprintf(buffer, sizeof(buffer), "%s %d", name, event.keyCode);
            break;
        case EventKind::kKeyChar:
            std::snprintf(buffer, sizeof(buffer), "%s %d", name, event.character);
            break;
        default:
            std::snprintf(buffer, sizeof(buffer), "%s", name);
            break;
    }
    text = buffer;
    return true;
}

bool EventFromText(std::string_view text, Platform::InputEvent& event) {
    const std::vector<std::string_view> words = Words(text);
    if (words.empty()) {
        return false;
    }
    const EventName* found = nullptr;
    for (const EventName& entry : kEventNames) {
        if (words[0] == entry.name) {
            found = &entry;
        }
    }
    if (found == nullptr) {
        return false;
    }
    event = Platform::InputEvent{};
    event.kind = found->kind;
    const int c = kMaxCoordinate;
    switch (event.kind) {
        case EventKind::kMouseMove:
        case EventKind::kMouseLeave:
            return words.size() == 3 && ParseInt(words[1], -c, c, event.x) &&
                   ParseInt(words[2], -c, c, event.y);
        case EventKind::kMouseDown:
        case EventKind::kMouseUp:
            // Clicks: 1 or 2 left, -1 or -2 right, 3 middle.
            return words.size() == 4 && ParseInt(words[1], -c, c, event.x) &&
                   ParseInt(words[2], -c, c, event.y) &&
                   ParseInt(words[3], -2, 3, event.clickCount) && event.clickCount != 0;
        case EventKind::kMouseWheel:
            return words.size() == 2 && ParseInt(words[1], -kMaxWheel, kMaxWheel, event.wheelDelta);
        case EventKind::kKeyDown: {
            int alt = 0;
            const bool ok = words.size() == 3 && ParseInt(words[1], 1, 255, event.keyCode) &&
                            ParseInt(words[2], 0, 1, alt);
            event.altDown = alt != 0;
            return ok;
        }
        case EventKind::kKeyUp:
            return words.size() == 2 && ParseInt(words[1], 1, 255, event.keyCode);
        case EventKind::kKeyChar:
            return words.size() == 2 && ParseInt(words[1], 1, 255, event.character);
        default:
            return words.size() == 1;
    }
}

std::string FormatRecording(const Recording& recording) {
    std::string out = "quillory-recording " + std::to_string(kRecordingFormat) + "\n";
    out += "version " + recording.programVersion + "\n";
    char fingerprint[24];
    std::snprintf(fingerprint, sizeof(fingerprint), "%016llx",
                  static_cast<unsigned long long>(recording.dataFingerprint));
    out += "data " + std::string(fingerprint) + "\n";
    out += "seeds";
    for (const uint32_t seed : recording.seeds) {
        out += " " + std::to_string(seed);
    }
    out += "\nwindowed " + std::to_string(recording.windowed ? 1 : 0) + "\n";
    out += "detail " + std::to_string(recording.detail) + "\n";
    for (const RecordedFile& file : recording.files) {
        if (!file.present) {
            out += "nofile " + file.name + "\n";
            continue;
        }
        out += "file " + file.name + " " + std::to_string(file.contents.size()) + "\n";
        size_t start = 0;
        for (;;) {
            const size_t end = file.contents.find('\n', start);
            if (end == std::string::npos) {
                AppendEscapedLine(out, std::string_view(file.contents).substr(start));
                break;
            }
            AppendEscapedLine(out, std::string_view(file.contents).substr(start, end - start));
            start = end + 1;
        }
    }
    out += "events\n";
    // Events and checks in update order; at one update the events come first, since they were
    // handed over before it, and the check after it.
    size_t check = 0;
    for (const RecordedEvent& event : recording.events) {
        while (check < recording.checks.size() && recording.checks[check].tick < event.tick) {
            const RecordedCheck& c = recording.checks[check++];
            out += std::to_string(c.tick) + " check " + std::to_string(c.screenState) + " " +
                   std::to_string(c.score) + " " + std::to_string(c.level) + "\n";
        }
        std::string text;
        if (EventToText(event.event, text)) {
            out += std::to_string(event.tick) + " " + text + "\n";
        }
    }
    for (; check < recording.checks.size(); ++check) {
        const RecordedCheck& c = recording.checks[check];
        out += std::to_string(c.tick) + " check " + std::to_string(c.screenState) + " " +
               std::to_string(c.score) + " " + std::to_string(c.level) + "\n";
    }
    out += std::to_string(recording.endTick) + " end\n";
    return out;
}

bool ParseRecording(std::string_view text, Recording& recording, std::string& error) {
    recording = Recording{};
    error.clear();
    if (text.size() > kMaxRecordingBytes) {
        error = "larger than 64 MiB";
        return false;
    }
    std::vector<std::string_view> lines;
    if (!SplitLines(text, lines)) {
        error = "a line longer than 4 MiB";
        return false;
    }
    Parser parser(lines, recording, error);
    if (!parser.Parse()) {
        recording = Recording{};
        return false;
    }
    return true;
}

}  // namespace Tuvo
