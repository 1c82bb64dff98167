// The framework's own diagnostics (the debugger output on Windows): written to stderr, and only
// when the environment variable QUILLORY_DEBUG is set.
#pragma once

namespace Platform {

void DebugOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Platform
