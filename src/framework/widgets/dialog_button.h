// A dialog's button: a push button that, given a component image, draws itself as a nine-slice
// box from it (or from rectangles of it per state), shifted while pressed, and shows the hand
// cursor while hovered.
#pragma once

#include "framework/graphics/image.h"
#include "framework/widgets/button_widget.h"

namespace Tuvo {

class DialogButton : public ButtonWidget {
public:
    // The component image is not owned and may be null (a plain button).
    DialogButton(Image* componentImage, int id, ButtonListener* listener);

    void Draw(Graphics* g) override;

    Image* GetComponentImage() const { return componentImage_; }
    void SetPressedTranslation(int x, int y);
    void SetTextOffset(int x, int y);

private:
    void DrawBox(Graphics* g, const Rect& source);

    Image* componentImage_ = nullptr;
    int translateX_ = 1;
    int translateY_ = 1;
    int textOffsetX_ = 0;
    int textOffsetY_ = 0;
};

}  // namespace Tuvo
