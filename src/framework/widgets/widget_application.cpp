// Default (empty) application services for the widget framework.
#include "framework/widgets/widget_application.h"

namespace Tuvo {

WidgetApplication::~WidgetApplication() = default;

void WidgetApplication::SetCursor(CursorKind) {}

bool WidgetApplication::Is3DAccelerated() const {
    return false;
}

bool WidgetApplication::UpdateAppStep() {
    return false;
}

void WidgetApplication::KillDialog(int) {}

}  // namespace Tuvo
