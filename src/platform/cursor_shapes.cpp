// The custom cursors' masks.
#include "platform/cursor_shapes.h"

namespace Platform {

const CursorShape& HandCursorShape() {
    static const CursorShape shape = {
        {
            "                                ", "                                ",
            "                                ", "          XX                    ",
            "         X..X                   ", "         X..X                   ",
            "         X..X                   ", "         X..X                   ",
            "         X..XXX                 ", "         X..X..XXX              ",
            "         X..X..X..XX            ", "         X..X..X..X.X           ",
            "      XX X.........X.X          ", "     X..XX...........X          ",
            "     X...X...........X          ", "      X..............X          ",
            "       X.............X          ", "       X............X           ",
            "        X...........X           ", "        X..........X            ",
            "         X.........X            ", "         X.........X            ",
            "         XXXXXXXXXXX            ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
        },
        11,
        4};
    return shape;
}

const CursorShape& DraggingCursorShape() {
    static const CursorShape shape = {
        {
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "            XX XX XX            ",
            "           X..X..X..XX          ", "           X..X..X..X.X         ",
            "         XXX..X..X..X..X        ", "        X..X..........X.X       ",
            "        X..............X        ", "         X.............X        ",
            "          X............X        ", "          X...........X         ",
            "           X..........X         ", "           X.........X          ",
            "            X........X          ", "            X........X          ",
            "            XXXXXXXXXX          ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
            "                                ", "                                ",
        },
        15,
        10};
    return shape;
}

}  // namespace Platform
