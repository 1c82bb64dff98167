// Numbers in the game's XML files: the leading decimal number of a text counts and the rest is
// ignored; text without one reads as 0. Values are kept finite and within a sane range before
// anything converts them to int.
#pragma once

namespace Quillory {

constexpr double kMaxFileNumber = 1.0e6;

// The leading decimal number of `text` (null reads as 0), clamped to +-kMaxFileNumber.
double LeadingNumber(const char* text);

// Copies at most size - 1 characters and always terminates; true when nothing was cut.
bool CopyName(char* out, int size, const char* text);

}  // namespace Quillory
