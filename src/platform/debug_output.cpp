// Framework diagnostics on stderr, switched on by QUILLORY_DEBUG.
#include "platform/debug_output.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace Platform {

void DebugOutput(const char* format, ...) {
    static const bool enabled = std::getenv("QUILLORY_DEBUG") != nullptr;
    if (!enabled || format == nullptr) {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
}

}  // namespace Platform
