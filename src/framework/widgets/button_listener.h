// What a button reports, under its numeric id, to whoever listens to it (the application, a
// dialog). Every operation does nothing by default.
#pragma once

namespace Tuvo {

class ButtonListener {
public:
    virtual ~ButtonListener() = default;

    // Slot 0; calls slot 1.
    virtual void OnButtonPressed(int id, int clickCount) {
        (void)clickCount;
        OnButtonPressed(id);
    }
    virtual void OnButtonPressed(int) {}
    virtual void OnButtonReleased(int) {}
    virtual void OnButtonHeld(int) {}
    virtual void OnButtonHoverIn(int) {}
    virtual void OnButtonHoverOut(int) {}
    virtual void OnButtonHoverMove(int, int, int) {}
};

// What a dialog reports about its buttons to its listener (the application).
class DialogListener {
public:
    virtual ~DialogListener() = default;

    virtual void OnDialogButtonPressed(int dialogId, int buttonId) = 0;
    virtual void OnDialogButtonReleased(int dialogId, int buttonId) = 0;
};

}  // namespace Tuvo
