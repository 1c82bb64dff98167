// The two custom cursors, drawn as 32x32 masks: 'X' black outline, '.' white fill, ' ' clear.
#pragma once

namespace Platform {

struct CursorShape {
    const char* rows[32];
    int hotX;
    int hotY;
};

// An open hand pointing up, hot spot (11, 4) at the fingertip.
const CursorShape& HandCursorShape();
// A closed hand holding something, hot spot (15, 10).
const CursorShape& DraggingCursorShape();

}  // namespace Platform
