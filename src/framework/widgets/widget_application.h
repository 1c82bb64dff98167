// What the widget framework needs of the application that hosts it: the mouse cursor, the kind
// of display, one step of the application loop (for modal dialogs) and the removal of a dialog
// by id. The application shell implements it; tests use a fake. Every operation has a harmless
// default, so an implementation overrides only what it provides.
#pragma once

namespace Tuvo {

enum class CursorKind {
    Arrow,
    Hand,
    Dragging,
};

class WidgetApplication {
public:
    virtual ~WidgetApplication();

    // Shows the given mouse cursor.
    virtual void SetCursor(CursorKind kind);
    // Whether the screen is drawn through a 3-D accelerator (linear blending instead of fast
    // stretching).
    virtual bool Is3DAccelerated() const;
    // Runs one step of the application loop (input, updates, drawing); false once the
    // application has stopped running. The default has no loop and returns false.
    virtual bool UpdateAppStep();
    // Removes (and retires) the dialog registered under id; nothing when there is none.
    virtual void KillDialog(int id);
};

}  // namespace Tuvo
