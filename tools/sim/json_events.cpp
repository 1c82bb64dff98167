// Game events as JSON lines.
#include "sim/json_events.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "game/game_records.h"
#include "sim/sim_options.h"

namespace QuillorySim {

namespace {

std::string Field(const char* name, int value) {
    return std::string(",\"") + name + "\":" + std::to_string(value);
}

std::string Field(const char* name, const std::string& literal) {
    return std::string(",\"") + name + "\":" + literal;
}

std::string TimeField(const char* name, double seconds) {
    return Field(name, JsonEventWriter::Seconds(seconds));
}

}  // namespace

namespace {

// Length of the well-formed UTF-8 sequence at `at`; 0 when it is not one.
size_t Utf8Length(const std::string& text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    uint32_t minimum = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::string JsonEventWriter::Quote(const std::string& text) {
    std::string quoted = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            // A name from a data file may be in another encoding: stray bytes become U+FFFD.
            const size_t length = Utf8Length(text, i);
            quoted += length > 0 ? text.substr(i, length) : "\\ufffd";
            i += length > 0 ? length - 1 : 0;
        } else if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string JsonEventWriter::Seconds(double value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[48];
    std::snprintf(text, sizeof(text), "%.3f", value);
    // "-0.000" reads oddly for a value that rounds to nothing.
    return std::string(text) == "-0.000" ? "0.000" : text;
}

void JsonEventWriter::Write(const char* event, const std::string& fields) {
    if (finished_) {
        return;
    }
    out_ << "{\"t\":" << Seconds(seconds_()) << ",\"event\":\"" << event << '"' << fields << "}\n";
    ++lines_;
}

void JsonEventWriter::OnLevelStart(const Quillory::LevelStartInfo& info) {
    if (!finished_ && !outcome_.started) {
        outcome_.started = true;
        outcome_.bonus = info.bonus;
        outcome_.timeLimit = info.timeLimit;
        outcome_.cells = info.cells;
        outcome_.classes = info.classCount;
    }
    std::string classes = "[";
    for (int k = 0; k < info.classCount && info.classes != nullptr; ++k) {
        if (k > 0) {
            classes += ',';
        }
        classes += Quote(info.classes[k].name);
    }
    classes += "]";
    Write("level_start", Field("level", info.level) +
                             Field("mode", Quote(ModeOptionName(info.mode))) +
                             Field("bonus", info.bonus ? "true" : "false") +
                             Field("cells", info.cells) + Field("per_line", info.perLine) +
                             Field("classes", classes) + TimeField("time_limit", info.timeLimit));
}

void JsonEventWriter::OnIssue(int slot, int classIndex, int variant, int bonusKind) {
    Write("issue", Field("slot", slot) + Field("class", classIndex) + Field("variant", variant) +
                       Field("bonus", bonusKind));
}

void JsonEventWriter::OnTake(int slot, int classIndex, int variant, int bonusKind) {
    Write("take", Field("slot", slot) + Field("class", classIndex) + Field("variant", variant) +
                      Field("bonus", bonusKind));
}

void JsonEventWriter::OnTurn(int variant) {
    Write("turn", Field("variant", variant));
}

void JsonEventWriter::OnDrop(int cell, int classIndex, int variant, int bonusKind, int points,
                             int combo, int score) {
    Write("drop", Field("cell", cell) + Field("class", classIndex) + Field("variant", variant) +
                      Field("bonus", bonusKind) + Field("points", points) + Field("combo", combo) +
                      Field("score", score));
}

void JsonEventWriter::OnFill(int cell) {
    Write("fill", Field("cell", cell));
}

void JsonEventWriter::OnDiscard(int classIndex, int bonusKind) {
    Write("discard", Field("class", classIndex) + Field("bonus", bonusKind));
}

void JsonEventWriter::OnLineRemoved(int line, int linesLeft) {
    Write("line_removed", Field("line", line) + Field("lines_left", linesLeft));
}

void JsonEventWriter::OnBugArrives(int cell) {
    Write("bug_arrives", Field("cell", cell));
}

void JsonEventWriter::OnBugEats(int cell) {
    Write("bug_eats", Field("cell", cell));
}

void JsonEventWriter::OnBugLeaves() {
    Write("bug_leaves", "");
}

void JsonEventWriter::OnTimeoutWarning(float timeLeft) {
    Write("timeout_warning", TimeField("time_left", timeLeft));
}

void JsonEventWriter::OnWon(int score, float timeLeft) {
    if (!finished_ && !outcome_.won) {
        outcome_.won = true;
        outcome_.timeLeft = timeLeft;
        outcome_.score = score;
    }
    Write("won", Field("score", score) + TimeField("time_left", timeLeft));
}

void JsonEventWriter::OnScoreAdded(int amount, Quillory::ScoreReason reason, int score) {
    Write("score_added", Field("amount", amount) +
                             Field("reason", Quote(Quillory::ScoreReasonName(reason))) +
                             Field("score", score));
}

void JsonEventWriter::OnLost(int score, float timeLeft) {
    if (!finished_) {
        outcome_.lost = true;
        outcome_.timeLeft = timeLeft;
        outcome_.score = score;
    }
    Write("lost", Field("score", score) + TimeField("time_left", timeLeft));
    finished_ = true;
}

void JsonEventWriter::OnLevelEnd(int score, Quillory::LevelEndNext next) {
    Write("level_end",
          Field("score", score) + Field("next", Quote(Quillory::LevelEndNextName(next))));
    finished_ = true;
}

void JsonEventWriter::OnSaved(int level, int score, float elapsed) {
    Write("saved", Field("level", level) + Field("score", score) + TimeField("elapsed", elapsed));
}

void JsonEventWriter::OnRestored(int level, int score, float elapsed) {
    Write("restored",
          Field("level", level) + Field("score", score) + TimeField("elapsed", elapsed));
}

}  // namespace QuillorySim
